#include "gui/display/DrawSources.h"

#include <QStandardPaths>

#include "core/model/LotteryClass.h"
#include "store/ArchiveDrawProvider.h"

namespace zuohao::gui {

std::string ArchiveFile() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (base + QStringLiteral("/zuohao/") + QString::fromUtf8(store::kArchiveFileName))
        .toUtf8()
        .toStdString();
}

DrawProvider ArchiveThenHeldOf(std::function<LotteryClass*()> lottery) {
    return [lottery = std::move(lottery)](std::size_t count) -> Result<std::vector<DrawLine>> {
        LotteryClass* lot = lottery ? lottery() : nullptr;
        if (!lot) return std::vector<DrawLine>{};
        const std::string name =
            lot->LotteryName.empty() ? store::kDefaultLottery : lot->LotteryName;
        return ArchiveThenHeld(store::ArchiveDraws(ArchiveFile(), name), HeldDraws(*lot))(count);
    };
}

} // namespace zuohao::gui
