#pragma once
// The archive's CSV, the one CSV the window's 导出CSV and zuohao-cli archive export --csv both
// write (CsvExport.h) and an import reads back (ImportText.h). It is UTF-8 with a
// byte-order mark (a spreadsheet opens it right), CR LF line ends, RFC 4180 quoting, oldest
// draw first, with the columns
//   期号, 开奖号码, 首次见到(UTC), 来源, 断期, 更正, 更正时间(UTC)
// 断期 is the number of periods missing just before the row (empty for none); 更正 lists a
// corrected draw's older numbers, oldest first ("原号 12345→54321"), and 更正时间(UTC) when each
// was replaced. An import of the CSV brings every column back but 断期 (ImportText.h).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/DrawArchive.h"

namespace zuohao::store {

inline constexpr std::string_view kCsvPastPrefix = "原号 ";
inline constexpr std::string_view kCsvChainArrow = "→";

// Whether a header cell names field `field` of the CSV (0 期号, 1 开奖号码 (or 号码, as older
// exports wrote it), 2 首次见到(UTC), 3 来源, 4 更正, 5 更正时间(UTC)).
bool CsvColumnIs(int field, std::string_view cell);

// The header line (with the byte-order mark) and one row, each with its line end.
std::string CsvHeader();
std::string CsvRow(const ArchivedDraw& d, std::int64_t missingBefore,
                   const std::vector<Correction>& corrections);
// One field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

} // namespace zuohao::store
