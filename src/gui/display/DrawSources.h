#pragma once
// Where the analysis windows take their draws: the main window's draw archive, then the
// draws the lottery object has read since (or those alone without an archive).
#include <functional>
#include <string>

#include "core/analysis/DrawProvider.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

// The newest draws of the lottery `lottery()` gives at each call (none when it gives null):
// those of the archive at `archivePath()`, then the newer ones the lottery has read.
DrawProvider ArchiveThenHeldOf(std::function<std::string()> archivePath,
                               std::function<LotteryClass*()> lottery);

} // namespace zuohao::gui
