#include "core/model/NumberList.h"

#include "core/model/NumberTables.h"
#include "core/model/Text.h"

namespace zuohao {

int NumberSet::count() const {
    int n = 0;
    for (int w = 0; w < words(); ++w)
        n += std::popcount(m_bits[std::size_t(w)]);
    return n;
}

void NumberSet::trim() {
    const int used = spaceSize() % 64;
    if (used != 0) m_bits[std::size_t(words() - 1)] &= (std::uint64_t(1) << used) - 1;
    for (int w = words(); w < kMaxWords; ++w)
        m_bits[std::size_t(w)] = 0;
}

namespace {
// The value of a piece made only of digits, or -1.
int digitsValue(std::string_view piece) {
    int v = 0;
    for (char c : piece) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

template <typename Fn> void forEachPiece(std::string_view text, Fn&& fn) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > start) fn(text.substr(start, i - start));
    }
}
} // namespace

NumberListRead NumberList::read(std::string_view text, bool fourDigit) {
    std::size_t width = 0;
    forEachPiece(text, [&](std::string_view piece) {
        if (width == 0 && (piece.size() == 3 || piece.size() == 4) && digitsValue(piece) >= 0)
            width = piece.size();
    });
    if (width == 0) width = fourDigit ? 4 : 3;
    auto set = std::make_shared<NumberSet>(width == 4);
    NumberListRead out;
    forEachPiece(text, [&](std::string_view piece) {
        const int v = piece.size() == width ? digitsValue(piece) : -1;
        if (v < 0)
            ++out.unreadable;
        else if (set->has(v))
            ++out.repeated;
        else
            set->add(v);
    });
    out.list = NumberList(std::move(set), false);
    return out;
}

std::string NumberList::text() const {
    if (!m_set) return {};
    const NumberTables& tables = NumberTables::instance();
    const bool four = m_set->fourDigit();
    const std::size_t width = std::size_t(m_set->width());
    const int n = count();
    std::string out;
    if (n == 0) return out;
    out.resize(std::size_t(n) * (width + 1) - 1, ' ');
    char* at = out.data();
    for (int i = 0, written = 0; i < m_set->spaceSize(); ++i) {
        if (!holds(i)) continue;
        const std::string_view t = four ? tables.four(i) : tables.three(i);
        if (written++) ++at; // the space, already there
        at = std::copy(t.begin(), t.end(), at);
    }
    return out;
}

int NumberList::count() const {
    if (!m_set) return 0;
    const int held = m_set->count();
    return m_complement ? m_set->spaceSize() - held : held;
}

bool NumberList::containsText(std::string_view piece) const {
    if (!m_set) return false;
    const int v = piece.size() == 3 || piece.size() == 4 ? digitsValue(piece) : -1;
    if (v < 0) return text().find(piece) != std::string::npos;
    const int width = m_set->width();
    if (int(piece.size()) == width) return holds(v); // the numbers are separated by spaces
    if (width == 3) return false;                    // four digits never lie inside three
    // Three digits inside a four-digit number: its first three (v0..v9) or its last three.
    constexpr int kDigits = 10;
    for (int d = 0; d < kDigits; ++d)
        if (holds(v * kDigits + d) || holds(d * kThreeDigitSpace + v)) return true;
    return false;
}

bool NumberList::operator==(const NumberList& other) const {
    if (empty() || other.empty()) return empty() == other.empty();
    if (fourDigit() != other.fourDigit()) return false;
    if (m_set == other.m_set && m_complement == other.m_complement) return true;
    for (int n = 0; n < m_set->spaceSize(); ++n)
        if (holds(n) != other.holds(n)) return false;
    return true;
}

} // namespace zuohao
