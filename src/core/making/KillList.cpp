#include "core/making/KillList.h"

#include <set>

#include "core/model/Text.h"

namespace zuohao {

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Numbers of `lo`..`hi` digits, each optionally followed by one space, and nothing else.
// A run of more digits than `hi` is refused rather than split into several numbers.
bool onlyNumbers(std::string_view text, int lo, int hi) {
    if (text.empty()) return false;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        int len = int(i - start);
        if (len < lo || len > hi) return false;
        if (i < text.size() && text[i] == ' ')
            ++i;
        else if (i < text.size())
            return false;
        if (i < text.size() && !isDigit(text[i])) return false;
    }
    return true;
}
} // namespace

bool IsNumberList(std::string_view text, int digits) {
    return onlyNumbers(text, digits, digits);
}

std::string NumberLineFilter(std::string_view text, std::string_view width) {
    if (Utf8Length(text) <= 2) return {};
    std::string cleaned = RemoveChar(text, '\0');
    std::string_view line = TrimSpaces(cleaned);
    // The first line, whichever line end the text uses (CR LF, LF or CR).
    if (auto end = line.find_first_of("\r\n"); end != std::string_view::npos)
        line = line.substr(0, end);
    const bool threeOrFour = width == "3,4";
    return onlyNumbers(line, 3, threeOrFour ? 4 : 3) ? std::string(line) : std::string();
}

int LinesLeftOut(std::string_view text) {
    std::string_view rest = TrimSpaces(text);
    const std::size_t end = rest.find_first_of("\r\n");
    if (end == std::string_view::npos) return 0;
    rest.remove_prefix(end);
    int lines = 0;
    bool blank = true;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        const char c = i < rest.size() ? rest[i] : '\n';
        if (c == '\r' || c == '\n') {
            if (!blank) ++lines;
            blank = true;
        } else if (c != ' ' && c != '\t' && c != '\0') {
            blank = false;
        }
    }
    return lines;
}

std::string ExpandToFour(std::string_view text, int mode) {
    std::string_view trimmed = TrimSpaces(text);
    if (IsNumberList(trimmed, 4)) return std::string(trimmed);
    std::set<int> numbers;
    for (std::string_view piece : SplitNumberList(trimmed)) {
        if (piece.size() != 3 || !isDigit(piece[0]) || !isDigit(piece[1]) || !isDigit(piece[2]))
            continue;
        int v = (piece[0] - '0') * 100 + (piece[1] - '0') * 10 + (piece[2] - '0');
        for (int d = 0; d < 10; ++d)
            numbers.insert(mode == 0 ? d * 1000 + v : v * 10 + d);
    }
    std::string out;
    char buf[8];
    for (int n : numbers) {
        std::snprintf(buf, sizeof buf, "%04d", n);
        if (!out.empty()) out.push_back(' ');
        out += buf;
    }
    return out;
}

void AcceptKillList(KillTexts& t, std::string_view text, int k) {
    if (k == 0) {
        t.three = IsNumberList(text, 3) ? std::string(text) : std::string();
        return;
    }
    if (IsNumberList(text, 3)) {
        t.four[2] = std::string(text);
        t.four[0] = ExpandToFour(text, 0);
        t.four[1] = ExpandToFour(text, 1);
    } else if (IsNumberList(text, 4)) {
        t.four = {std::string(text), std::string(text), std::string(text)};
    } else {
        t.four = {"", "", ""};
    }
}

std::string KillTextFor(const KillTexts& texts, int k, int wei) {
    constexpr int kFrontFour = 10; // 前四星; 后四星 follows
    if (k == 0) return texts.three;
    const bool ownForm = wei == kFrontFour || wei == kFrontFour + 1;
    return texts.four[ownForm ? std::size_t(wei - kFrontFour) : 2];
}

std::string MergeDigits(std::string_view a, std::string_view b) {
    std::array<char, 10> slots{};
    auto put = [&](std::string_view s) {
        for (char c : s)
            slots[isDigit(c) ? c - '0' : 0] = c;
    };
    put(a);
    put(b);
    std::string out;
    for (char c : slots)
        if (c) out.push_back(c);
    return out;
}

} // namespace zuohao
