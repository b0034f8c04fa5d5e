#include "store/ImportText.h"

#include <algorithm>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LineRule.h"

namespace zuohao::store {

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool digitsOnly(std::string_view s, std::size_t minLen, std::size_t maxLen) {
    return s.size() >= minLen && s.size() <= maxLen &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

constexpr std::size_t kMaxLabelDigits = 18;
constexpr std::size_t kHaomaDigits = 5;
} // namespace

std::vector<std::string> SplitCsvLine(std::string_view line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                out.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                out.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

ImportText ParseImportText(std::string_view bytes) {
    ImportText out;
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    std::int64_t lineNo = 0;
    bool firstContent = true;
    auto bad = [&] {
        ++out.badLines;
        if (out.firstBad.size() < kBadLinesListed) out.firstBad.push_back(lineNo);
    };
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t nl = bytes.find('\n', start);
        if (nl == std::string_view::npos) nl = bytes.size();
        const std::string_view raw = bytes.substr(start, nl - start);
        start = nl + 1;
        ++lineNo;
        const std::string_view line = trim(raw);
        if (line.empty()) continue;
        if (firstContent) out.csv = line.find(',') != std::string_view::npos;
        const bool header = firstContent;
        firstContent = false;
        if (out.csv) {
            const auto f = SplitCsvLine(line);
            const std::string_view q = f.size() >= 2 ? trim(f[0]) : std::string_view{};
            const std::string_view h = f.size() >= 2 ? trim(f[1]) : std::string_view{};
            if (digitsOnly(q, 1, kMaxLabelDigits) && digitsOnly(h, kHaomaDigits, kHaomaDigits))
                out.draws.push_back({std::string(q), std::string(h)});
            else if (!header) // a first line that is no draw is the column titles
                bad();
            continue;
        }
        const std::string decoded = DecodeDrawLine(raw);
        const ParsedDrawText parsed = ParseDrawText(decoded);
        if (parsed.draws.size() == 1 && digitsOnly(parsed.draws[0].qishu, 1, kMaxLabelDigits))
            out.draws.push_back({parsed.draws[0].qishu, parsed.draws[0].haoma});
        else
            bad();
    }
    return out;
}

} // namespace zuohao::store
