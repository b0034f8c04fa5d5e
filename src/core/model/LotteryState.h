#pragma once
// The data of one lottery: its recent draws, plan state, condition set, the periods the
// monitor replays and its monitor. Plain data: each layer above works on it through its own entry
// points (making/Making.h, monitor/Monitor.h, plan/ProcessDraw.h, acquire/DrawFeed.h), and the
// lottery object core/acquire/LotteryClass.h puts them together for the windows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/model/ConditionSet.h"
#include "core/model/DrawNumbers.h"
#include "core/model/LotteryItem.h"
#include "core/model/LotteryKind.h"
#include "core/model/MonitorState.h"
#include "core/model/OrderedDict.h"

namespace zuohao {

using ItemPtr = std::shared_ptr<LotteryItem>;

// Draws LotteryDic holds: the newest 100.
inline constexpr std::size_t kHeldDraws = 100;
// The hot digits count the last 10 draws: PreItem10 is set once more draws are held.
inline constexpr std::size_t kHotWindow = 10;
// Previous draws the statistics compare a draw with (PreItems).
inline constexpr std::size_t kPreviousDraws = 4;

// What the pipeline had before a draw entered, so that the held draws from a period on can
// be rebuilt when the file corrects one of them.
struct DrawSnapshot {
    std::string qishu;
    std::string newQi;
    std::array<std::string, kSelGroups> sel;
    NumberList dad, fji;
    ItemPtr pre01, pre10;
    std::array<ItemPtr, kPreviousDraws> preItems;
    std::optional<PlanLine> prePlan; // the previous draw's plan line before this draw scored it
};

// A plan that 清除计划 ended: its lines are on the draws from startQi up to, not including,
// endQi, the newest draw when it ended (whose line was never scored).
struct EndedPlan {
    std::uint64_t number = 0; // PlanNumber of the plan; 0: no plan has ended
    std::string startQi;
    std::string endQi;
};

struct LotteryState {
    std::string LotteryName; // display name (the lottery table, core/model/LotteryKind.h)
    int MyIndex = 0;         // index of this lottery in the table
    // How the lottery numbers its periods (the plan line names the next one by it).
    PeriodNaming Naming = PeriodNaming::DateLabel;
    int PeriodsPerDay = kPeriodsPerDay;
    std::string NewQi;  // period label of the newest processed draw
    std::string HisUrl; // address of a history source (draws come from the file instead)
    std::string NewUrl; // address of a newest-draw source (likewise unused)
    OrderedDict<ItemPtr> LotteryDic; // period label -> draw record, oldest first, newest 100
    // Period label -> draw number of every processed draw, for the monitor; not trimmed with
    // LotteryDic, kept packed (12 bytes a draw).
    DrawNumbers LotteryDic_Jiankong;
    bool IsGetHis = false;        // history has been loaded and holds at least one draw
    bool IsGetNew = false;        // a draw was processed since the refresh cycle cleared the flag
    bool IsHasPlan = false;       // a plan runs for this lottery
    std::string StartPlanQi;      // NewQi when the running plan started; empty when none runs
    std::uint64_t PlanNumber = 0; // plans started so far; the running or last plan's number
    EndedPlan LastPlan;           // the plan that ended last
    ItemPtr PreItem01;            // the newest processed draw
    ItemPtr PreItem10;            // the draw nine before PreItem01, once more than 10 are held
    std::array<ItemPtr, kPreviousDraws> PreItems; // the newest draws, newest first

    ConditionSet conditions;            // the user's conditions and the last base set
    std::deque<DrawSnapshot> snapshots; // one per draw of LotteryDic, oldest first
    MonitorState monitor;               // the lottery's own monitor
};

} // namespace zuohao
