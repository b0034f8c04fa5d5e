#include "core/acquire/LineRule.h"

#include "core/model/Text.h"

namespace zuohao {

namespace {
// A control character (NUL among them) where a digit run starts or ends means the run was cut
// out of a longer label, as a file half overwritten with zero bytes shows it: no draw line.
bool controlTouches(std::string_view line, std::string_view run) {
    const std::size_t at = std::size_t(run.data() - line.data());
    auto control = [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
    };
    const bool before = at > 0 && control(line[at - 1]);
    const bool after = at + run.size() < line.size() && control(line[at + run.size()]) &&
                       line[at + run.size()] != '\r';
    return before || after;
}
} // namespace

ParsedDrawText ParseDrawText(std::string_view text) {
    ParsedDrawText out;
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (static_cast<int>(lines.size()) < kDrawFileLines) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    out.considered = static_cast<int>(lines.size());
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        std::string_view line = *it;
        if (Utf8Length(line) <= kShortLine) {
            ++out.skipped;
            continue;
        }
        // The last two runs of ASCII digits.
        std::string_view runs[2];
        int found = 0;
        std::size_t i = line.size();
        while (i > 0 && found < 2) {
            while (i > 0 && !(line[i - 1] >= '0' && line[i - 1] <= '9'))
                --i;
            std::size_t end = i;
            while (i > 0 && line[i - 1] >= '0' && line[i - 1] <= '9')
                --i;
            if (end > i) runs[found++] = line.substr(i, end - i);
        }
        if (found < 2 || runs[0].size() != 5 || line.find('\0') != std::string_view::npos ||
            controlTouches(line, runs[1])) {
            ++out.skipped;
            continue;
        }
        out.draws.push_back({std::string(runs[1]), std::string(runs[0])});
    }
    return out;
}

} // namespace zuohao
