#pragma once
// Test draws: the sample draw file fed through the draw pipeline, as the history loader
// does, and hand-made statistics rows.
#include <QString>
#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/acquire/LotteryClass.h"

namespace zuohao::test {

// The lines of data/sample-draws.txt as parsed draws, oldest first (120 draws).
std::vector<DrawLine> SampleDraws();

// Feeds the first `count` sample draws (oldest first) into the lottery; the lottery keeps
// at most 100. Returns the number of draws that entered.
int FeedSampleDraws(LotteryClass& cls, int count = 1000);

// Starts a plan over a fixed base set without a reduction: the newest held draw gets its
// plan line, as after the start button.
void StartPlanOnBase(LotteryClass& cls, std::string base);

// Gives the lottery data no button makes (a plan marked running without its reduction, a
// start period of the test's choosing): `edit` changes a copy of its data, and the lottery
// object is made anew over it. Only for lotteries with no draw source wired.
template <class Edit> void EditState(LotteryClass& cls, Edit edit) {
    LotteryState state = cls.state();
    edit(state);
    cls = LotteryClass(std::move(state));
}

// The held draws of a lottery, oldest first.
std::vector<ItemPtr> HeldDraws(const LotteryClass& cls);

} // namespace zuohao::test
