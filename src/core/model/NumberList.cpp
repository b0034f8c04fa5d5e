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

std::string NumberList::text() const {
    if (!m_set) return m_text;
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
    if (!m_set) return CountNumberList(m_text);
    const int held = m_set->count();
    return m_complement ? m_set->spaceSize() - held : held;
}

bool NumberList::containsText(std::string_view piece) const {
    if (!m_set) return m_text.find(piece) != std::string::npos;
    // A piece of the list's width made of digits is found exactly when it is one of the
    // numbers: the numbers are separated by spaces. Any other piece is searched in the text.
    if (piece.size() == std::size_t(m_set->width())) {
        int v = 0;
        bool digits = true;
        for (char c : piece) {
            digits = digits && c >= '0' && c <= '9';
            v = v * 10 + (c - '0');
        }
        if (digits) return holds(v);
    }
    return text().find(piece) != std::string::npos;
}

} // namespace zuohao
