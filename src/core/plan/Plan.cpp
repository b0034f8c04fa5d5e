#include "core/plan/Plan.h"

#include "core/model/LotteryClass.h"
#include "core/model/Text.h"

namespace zuohao {

Result<std::string> RenewPlan(LotteryClass& lottery) {
    auto base = lottery.GetSuoshuiDadi();
    if (lottery.PreItem01) lottery.AddNewPlan(*lottery.PreItem01);
    return base;
}

Result<std::string> StartPlan(LotteryClass& lottery) {
    lottery.IsHasPlan = true;
    lottery.StartPlanQi = lottery.NewQi;
    return RenewPlan(lottery);
}

void StopPlan(LotteryClass& lottery) {
    lottery.IsHasPlan = false;
    lottery.StartPlanQi.clear();
}

void AppendPlanLine(std::string& planLines, const LotteryClass& lottery, const LotteryItem& item,
                    bool killTextBusy) {
    if (!lottery.IsHasPlan) return;
    if (item.Qishu.compare(lottery.StartPlanQi) < 0) return; // a line of an earlier plan
    if (item.PlanTxt.empty()) return;
    if (!killTextBusy && item.PlanTxt.find("进行") != std::string::npos) return;
    planLines += item.PlanTxt;
    planLines += '$';
}

std::string PlanTextFromLines(std::string_view planLines) {
    return ReplaceAll(TrimSpaces(planLines), "$", "\r\n");
}

} // namespace zuohao
