#include "core/plan/Plan.h"

#include "core/making/Making.h"
#include "core/model/LotteryKind.h"
#include "core/model/MonitorState.h"
#include "core/model/Text.h"
#include "core/monitor/Monitor.h"

namespace zuohao {

void WritePlanLine(LotteryState& lottery, LotteryItem& item) {
    const ConditionSet& set = lottery.conditions;
    item.SetPlanTxt(NextPeriodLabel(lottery.Naming, lottery.PeriodsPerDay, lottery.NewQi), set.IDX,
                    set.DAD.count());
}

Result<std::string> RenewPlan(LotteryState& lottery) {
    auto base = RenewBaseSet(lottery);
    if (lottery.PreItem01) WritePlanLine(lottery, *lottery.PreItem01);
    if (!base) return base.failure();
    // The monitor window shows why a restart did not happen (no base set to start from).
    if (MonitorFollowsBaseSet(lottery)) (void)RestartMonitor(lottery);
    return lottery.conditions.DAD.text();
}

Result<std::string> StartPlan(LotteryState& lottery) {
    lottery.IsHasPlan = true;
    lottery.StartPlanQi = lottery.NewQi;
    ++lottery.PlanNumber;
    return RenewPlan(lottery);
}

bool MonitorFollowsBaseSet(const LotteryState& lottery) {
    return lottery.monitor.Monitoring;
}

Result<void> RestartMonitor(LotteryState& lottery) {
    return ReashStar(lottery.monitor, lottery, lottery.conditions.DAD);
}

void StopPlan(LotteryState& lottery) {
    if (lottery.IsHasPlan)
        lottery.LastPlan = {lottery.PlanNumber, lottery.StartPlanQi, lottery.NewQi};
    lottery.IsHasPlan = false;
    lottery.StartPlanQi.clear();
}

void AppendPlanLine(std::string& planLines, const LotteryState& lottery, const LotteryItem& item,
                    bool killTextBusy) {
    if (!lottery.IsHasPlan) return;
    if (item.Qishu.compare(lottery.StartPlanQi) < 0) return; // a line of an earlier plan
    if (!item.Plan) return;
    if (!killTextBusy && item.Plan->outcome == PlanOutcome::Running) return;
    planLines += item.PlanTxt();
    planLines += '$';
}

std::string PlanTextFromLines(std::string_view planLines) {
    return ReplaceAll(TrimSpaces(planLines), "$", "\r\n");
}

} // namespace zuohao
