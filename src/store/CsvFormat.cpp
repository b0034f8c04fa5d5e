#include "store/CsvFormat.h"

#include <algorithm>
#include <vector>

namespace zuohao::store {

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// The names of the columns an import reads, by field; the first is the one written.
const std::vector<std::vector<std::string_view>>& columnNames() {
    static const std::vector<std::vector<std::string_view>> names{
        {"期号"}, {"开奖号码", "号码"}, {"首次见到(UTC)"}, {"来源"}, {"更正"}, {"更正时间(UTC)"}};
    return names;
}
constexpr std::string_view kGapColumn = "断期";

template <class F> std::string joined(const std::vector<Correction>& cs, F part) {
    std::string out;
    for (const Correction& c : cs) {
        if (!out.empty()) out += kCsvChainArrow;
        out += part(c);
    }
    return out;
}

} // namespace

bool CsvColumnIs(int field, std::string_view cell) {
    if (field < 0 || std::size_t(field) >= columnNames().size()) return false;
    const auto& names = columnNames()[std::size_t(field)];
    return std::find(names.begin(), names.end(), cell) != names.end();
}

std::string CsvField(std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
    std::string q = "\"";
    for (char c : s)
        q += (c == '"') ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

std::string CsvHeader() {
    const auto& n = columnNames();
    std::string out(kBom);
    for (std::size_t i = 0; i < n.size(); ++i) {
        if (i == 4) (out += kGapColumn) += ','; // 断期 goes before 更正
        out += n[i].front();
        out += i + 1 < n.size() ? "," : "";
    }
    return out += kLineEnd;
}

std::string CsvRow(const ArchivedDraw& d, std::int64_t missingBefore,
                   const std::vector<Correction>& corrections) {
    std::string row = d.qishu + ',' + d.haoma + ',' + d.seenUtc + ',' + CsvField(d.source) + ',';
    if (missingBefore > 0) row += std::to_string(missingBefore);
    row += ',';
    if (!corrections.empty()) {
        row += std::string(kCsvPastPrefix) +
               joined(corrections, [](const Correction& c) { return c.oldHaoma; });
        row += ',' + joined(corrections, [](const Correction& c) { return c.correctedUtc; });
    } else {
        row += ',';
    }
    return row += kLineEnd;
}

} // namespace zuohao::store
