#pragma once
// Number making on a lottery's data: the reduction stored as its base set, and the selection
// digits derived from the ticked selection boxes.
#include "core/model/LotteryState.h"
#include "core/model/Result.h"

namespace zuohao {

// Reduces by the lottery's conditions and stores the base set (DAD) and the complement
// (FJI); a failed run keeps both (GetSuoshuiDadi). A new base set while the monitor is switched
// on makes a monitor restart due: the caller restarts it (core/plan/Plan.h, RestartMonitor).
Result<void> RenewBaseSet(LotteryState& lottery);

// Selection digits of the group of box `checkIdx`, from the newest draw and the draws before
// it (ResultSelStr).
Result<void> RebuildSelection(LotteryState& lottery, int checkIdx);

// Selection digits of every group from a new draw `item` (the draw boxes reach back `jian`
// draws further), when `isAuto` (ResultAutoSelStr).
Result<void> RebuildSelections(LotteryState& lottery, const LotteryItem* item, bool isAuto,
                               int jian);

} // namespace zuohao
