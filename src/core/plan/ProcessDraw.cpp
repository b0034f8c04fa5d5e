#include "core/plan/ProcessDraw.h"

#include <algorithm>

#include "core/making/Making.h"
#include "core/model/Groups.h"
#include "core/model/MonitorState.h"
#include "core/monitor/Monitor.h"
#include "core/plan/Plan.h"

namespace zuohao {

namespace {

bool isDrawNumber(std::string_view haoma) {
    if (haoma.size() != 5) return false;
    for (char c : haoma)
        if (c < '0' || c > '9') return false;
    return true;
}

// What the pipeline has before a draw enters, for a later rebuild.
void rememberBeforeDraw(LotteryState& lottery, const std::string& qishu) {
    const ConditionSet& set = lottery.conditions;
    DrawSnapshot s{qishu,   lottery.NewQi,     set.SEL,           set.DAD,
                   set.FJI, lottery.PreItem01, lottery.PreItem10, lottery.PreItems,
                   {}};
    if (lottery.PreItem01) s.prePlan = lottery.PreItem01->Plan;
    lottery.snapshots.push_back(std::move(s));
    while (lottery.snapshots.size() > kHeldDraws)
        lottery.snapshots.pop_front();
}

} // namespace

DrawOutcome EnterDraw(LotteryState& lottery, const std::string& qishu, const std::string& haoma,
                      const std::vector<std::string>* reentered) {
    DrawOutcome outcome;
    // A period already held, or already processed once and since trimmed, is never
    // processed again: an old line offered again would corrupt the statistics chain.
    if (lottery.LotteryDic.Exists(qishu) || lottery.LotteryDic_Jiankong.Exists(qishu))
        return outcome;
    auto note = [&](const Error& e) {
        if (!outcome.error.empty()) outcome.error += "; ";
        outcome.error += e.message;
        outcome.failures.push_back(e);
    };
    if (!isDrawNumber(haoma)) {
        note(fail(ErrorCode::InvalidDraw, "开奖号码无效: " + haoma, haoma));
        return outcome;
    }
    rememberBeforeDraw(lottery, qishu);
    lottery.IsGetNew = true;
    lottery.NewQi = qishu;

    auto item = std::make_shared<LotteryItem>();
    item->Qishu = qishu;
    item->Haoma = haoma;
    item->ResetHaomaInfo();

    ConditionSet& set = lottery.conditions;
    if (lottery.PreItem01) {
        std::array<const LotteryItem*, kPreviousDraws> prev{};
        for (std::size_t k = 0; k < prev.size(); ++k)
            prev[k] = lottery.PreItems[k].get();
        item->SetSanmaInfo(*lottery.PreItem01, lottery.PreItem10.get(), prev);
        if (lottery.IsHasPlan) {
            const int idx = set.IDX;
            std::string_view str =
                (idx >= 0 && idx < kGroupCount) ? item->group(idx).STR() : std::string_view{};
            LotteryItem& carrier = *lottery.PreItem01;
            const bool running = carrier.Plan && carrier.Plan->outcome == PlanOutcome::Running;
            carrier.ResultPlan(!set.DAD.containsText(str));
            if (running && carrier.Plan->outcome != PlanOutcome::Running)
                outcome.scored = PlanScored{carrier.Qishu, *carrier.Plan};
            // A failed rebuild or reduction keeps SEL, DAD and FJI: the plan goes on with
            // the previous base set and the draw is still held.
            auto sel = RebuildSelections(lottery, item.get(), set.PLA, 1);
            if (!sel) note(sel.failure());
            auto dadi = RenewBaseSet(lottery);
            if (!dadi)
                note(dadi.failure());
            else
                outcome.monitorRestartDue = MonitorFollowsBaseSet(lottery);
            WritePlanLine(lottery, *item);
        } else {
            auto sel = RebuildSelections(lottery, item.get(), AnySelection(set), 1);
            if (!sel) note(sel.failure());
        }
    }

    lottery.LotteryDic.Add(qishu, item);
    lottery.LotteryDic_Jiankong.Add(qishu, haoma);
    outcome.added = true;
    outcome.reentered =
        reentered && std::binary_search(reentered->begin(), reentered->end(), qishu);

    MonitorState& monitor = lottery.monitor;
    if (monitor.Monitoring && monitor.PlanRunning)
        AddMonitorPeriod(monitor, Period::parse(qishu), PositionNumbers(set.IDX, haoma));

    lottery.PreItem01 = item;
    std::size_t k = 0;
    for (auto it = lottery.LotteryDic.rbegin();
         it != lottery.LotteryDic.rend() && k < lottery.PreItems.size(); ++it, ++k)
        lottery.PreItems[k] = it->second;
    const std::size_t held = lottery.LotteryDic.Count();
    if (held > kHotWindow) lottery.PreItem10 = lottery.LotteryDic.at(held - kHotWindow).second;
    while (lottery.LotteryDic.Count() > kHeldDraws)
        lottery.LotteryDic.RemoveFirst();
    return outcome;
}

void RecordDraw(DrawEvents& events, const std::string& qishu, const std::string& haoma,
                const DrawOutcome& outcome) {
    if (outcome.added && !outcome.reentered) events.entered.push_back({qishu, haoma});
    if (outcome.scored) events.scored.push_back(*outcome.scored);
    events.monitorRestartDue = events.monitorRestartDue || outcome.monitorRestartDue;
}

} // namespace zuohao
