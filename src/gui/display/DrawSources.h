#pragma once
// Where the analysis windows take their draws: the draw archive in the user's data folder,
// then the draws the lottery object has read since (or those alone without an archive).
#include <functional>
#include <string>

#include "core/analysis/DrawProvider.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

// draws.sqlite in the user's data folder (the command-line tool's default archive too).
std::string ArchiveFile();

// The newest draws of the lottery `lottery()` gives at each call (none when it gives null).
DrawProvider ArchiveThenHeldOf(std::function<LotteryClass*()> lottery);

} // namespace zuohao::gui
