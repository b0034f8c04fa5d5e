#include "gui/display/DrawSources.h"

#include "core/acquire/LotteryClass.h"
#include "store/ArchiveDrawProvider.h"

namespace zuohao::gui {

DrawProvider ArchiveThenHeldOf(std::function<std::string()> archivePath,
                               std::function<LotteryClass*()> lottery) {
    return [archivePath = std::move(archivePath),
            lottery = std::move(lottery)](std::size_t count) -> Result<std::vector<DrawLine>> {
        LotteryClass* lot = lottery ? lottery() : nullptr;
        if (!lot) return std::vector<DrawLine>{};
        const std::string name =
            lot->LotteryName.empty() ? store::kDefaultLottery : lot->LotteryName;
        const std::string path = archivePath ? archivePath() : std::string();
        return ArchiveThenHeld(store::ArchiveDraws(path, name), HeldDraws(*lot))(count);
    };
}

} // namespace zuohao::gui
