// The draw pipeline: the one entry through which a draw enters a lottery object.
#include <algorithm>

#include "core/model/Groups.h"
#include "core/model/LotteryClass.h"
#include "core/monitor/Monitor.h"

namespace zuohao {

namespace {

bool isDrawNumber(std::string_view haoma) {
    if (haoma.size() != 5) return false;
    for (char c : haoma)
        if (c < '0' || c > '9') return false;
    return true;
}
} // namespace

DrawOutcome LotteryClass::ProcessDraw(const std::string& qishu, const std::string& haoma) {
    DrawOutcome outcome;
    // A period already held, or already processed once and since trimmed, is never
    // processed again: an old line offered again would corrupt the statistics chain.
    if (LotteryDic.Exists(qishu) || LotteryDic_Jiankong.Exists(qishu)) return outcome;
    auto note = [&](const Error& e) {
        if (!outcome.error.empty()) outcome.error += "; ";
        outcome.error += e.message;
        outcome.failures.push_back(e);
    };
    if (!isDrawNumber(haoma)) {
        note(fail(ErrorCode::InvalidDraw, "开奖号码无效: " + haoma, haoma));
        return outcome;
    }
    rememberBeforeDraw(qishu);
    IsGetNew = true;
    NewQi = qishu;

    auto item = std::make_shared<LotteryItem>();
    item->Qishu = qishu;
    item->Haoma = haoma;
    item->ResetHaomaInfo();

    if (PreItem01) {
        std::array<const LotteryItem*, 4> prev{};
        for (int k = 0; k < 4; ++k)
            prev[k] = m_preItems[k].get();
        item->SetSanmaInfo(*PreItem01, PreItem10.get(), prev);
        if (IsHasPlan) {
            const int idx = m_set.IDX;
            std::string_view str =
                (idx >= 0 && idx < kGroupCount) ? item->group(idx).STR() : std::string_view{};
            const bool missed = m_set.DAD.find(str) == std::string::npos;
            PreItem01->ResultPlan(missed);
            // A failed rebuild or reduction keeps SEL, DAD and FJI: the plan goes on with
            // the previous base set and the draw is still held.
            auto sel = ResultAutoSelStr(item.get(), m_set.PLA, 1);
            if (!sel) note(sel.failure());
            auto dadi = GetSuoshuiDadi();
            if (!dadi) note(dadi.failure());
            AddNewPlan(*item);
        } else {
            auto sel = ResultAutoSelStr(item.get(), GetHasChecked(), 1);
            if (!sel) note(sel.failure());
        }
    }

    LotteryDic.Add(qishu, item);
    LotteryDic_Jiankong.Add(qishu, haoma);
    outcome.added = true;
    while (LotteryDic_Jiankong.Count() > kMonitorPeriods)
        LotteryDic_Jiankong.RemoveFirst();
    const bool reentered =
        m_quietLabels && std::binary_search(m_quietLabels->begin(), m_quietLabels->end(), qishu);
    if (m_observer && !reentered) m_observer->OnDrawEntered(MyIndex, qishu, haoma);

    if (m_monitor && m_monitor->Monitoring && m_monitor->PlanRunning)
        JiHuaDicAddNewClass(PeriodKey(qishu), weizhiHAO(haoma));

    PreItem01 = item;
    int k = 0;
    for (auto it = LotteryDic.rbegin(); it != LotteryDic.rend() && k < 4; ++it, ++k)
        m_preItems[std::size_t(k)] = it->second;
    if (LotteryDic.Count() > 10) PreItem10 = LotteryDic.at(LotteryDic.Count() - 10).second;
    while (LotteryDic.Count() > kHeldDraws)
        LotteryDic.RemoveFirst();
    return outcome;
}

} // namespace zuohao
