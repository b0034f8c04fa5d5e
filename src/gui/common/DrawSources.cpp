#include "gui/common/DrawSources.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/DrawProvider.h"
#include "store/DrawArchive.h"

namespace zuohao::gui {

namespace {
// Draws read from the archive at a time: a look at the control every few milliseconds.
constexpr std::int64_t kArchivePage = 512;

// The archive's newest `count` draws (all for 0), oldest first.
Result<std::vector<DrawLine>> readArchive(const std::string& path, const std::string& lottery,
                                          std::size_t count, const RunControl& control) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::u8path(path), ec))
        return fail(ErrorCode::ArchiveMissing, "没有历史库：" + path, path);
    // Read only: an analysis never writes, and a reading connection never checkpoints or
    // syncs the file when it closes, which could hold a cancel up behind the disk.
    auto archive = store::Archive::open(path, nullptr, store::OpenMode::ReadOnly);
    if (!archive) return archive.failure();
    std::vector<DrawLine> newestFirst;
    std::int64_t below = std::numeric_limits<std::int64_t>::max();
    const std::size_t wanted = count == 0 ? std::numeric_limits<std::size_t>::max() : count;
    while (newestFirst.size() < wanted) {
        if (control.cancelled()) return fail(ErrorCode::Cancelled, "读取已取消");
        const auto page = std::int64_t(
            std::min<std::size_t>(std::size_t(kArchivePage), wanted - newestFirst.size()));
        auto draws = (*archive)->before(lottery, below, page);
        if (!draws) return draws.failure();
        for (const store::ArchivedDraw& d : *draws)
            newestFirst.push_back({d.qishu, d.haoma});
        if (std::int64_t(draws->size()) < page) break;
        below = draws->back().period;
        if (count > 0) control.report(double(newestFirst.size()) / double(count));
    }
    std::reverse(newestFirst.begin(), newestFirst.end());
    return newestFirst;
}
} // namespace

DrawSourceCopy CopyDrawSource(const std::string& archivePath, const LotteryClass* lot) {
    DrawSourceCopy c;
    if (!lot) return c;
    c.archivePath = archivePath;
    c.lottery = lot->name().empty() ? store::kDefaultLottery : lot->name();
    c.held.reserve(lot->monitorPeriods().Count());
    for (const auto& [label, haoma] : lot->monitorPeriods())
        c.held.push_back({label, haoma});
    return c;
}

DrawSourceFn DrawSourceOf(std::function<std::string()> archivePath,
                          std::function<LotteryClass*()> lottery) {
    return [archivePath = std::move(archivePath), lottery = std::move(lottery)] {
        return CopyDrawSource(archivePath ? archivePath() : std::string(),
                              lottery ? lottery() : nullptr);
    };
}

Result<std::vector<DrawLine>> ReadDraws(const DrawSourceCopy& source, std::size_t count,
                                        const RunControl& control) {
    DrawProvider archive;
    if (!source.archivePath.empty())
        archive = [&](std::size_t n) -> Result<std::vector<DrawLine>> {
            return readArchive(source.archivePath, source.lottery, n, control);
        };
    auto draws = ArchiveThenHeld(archive, SequenceDraws(source.held))(count);
    // A cancelled read is not a missing archive: the held draws do not stand in for it.
    if (control.cancelled()) return fail(ErrorCode::Cancelled, "读取已取消");
    return draws;
}

} // namespace zuohao::gui
