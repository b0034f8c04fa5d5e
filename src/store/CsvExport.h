#pragma once
// Export of the archive, as plain "period number" lines or as the archive's CSV (CsvFormat.h),
// a page at a time into a checked output file.
#include <cstdint>
#include <functional>
#include <string>

#include "store/CsvFormat.h"
#include "store/DrawArchive.h"
#include "store/OutputFile.h"

namespace zuohao::store {

struct ExportRequest {
    std::string lottery = kDefaultLottery;
    std::string fromQishu; // empty bounds are open
    std::string toQishu;
    std::string day; // yyyy-mm-dd: that day only (as Archive::day)
    bool csv = false;
};

// Called after every page with the draws written so far; false stops the export.
using ExportProgress = std::function<bool(std::int64_t written)>;

// Writes the requested draws to `out` a page at a time (memory stays flat on any archive)
// and commits it; the number of draws written. Fails with the reason on a read or write
// error, or when `progress` stopped it (then nothing is committed).
Result<std::int64_t> ExportDraws(Archive& archive, const ExportRequest& request, OutputFile& out,
                                 const ExportProgress& progress = {});

} // namespace zuohao::store
