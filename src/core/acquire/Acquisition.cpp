// LotteryClass operations of draw acquisition: history load and new-draw fetch.
#include "core/acquire/DrawSource.h"
#include "core/acquire/LineRule.h"
#include "core/model/LotteryClass.h"
#include "core/monitor/MonitorState.h"

namespace zuohao {

inline constexpr const char* kLoadingStatus = "正在获取数据...";

TextReport LotteryClass::GetTxtStringArray(std::string_view txt) {
    TextReport report;
    ParsedDrawText parsed = ParseDrawText(txt);
    report.lines = parsed.considered;
    report.skipped = parsed.skipped;
    for (const DrawLine& d : parsed.draws) {
        DrawOutcome o = ProcessDraw(d.qishu, d.haoma);
        if (o.added) ++report.draws;
        if (!o.error.empty()) report.errors.push_back(d.qishu + ": " + o.error);
    }
    return report;
}

void LotteryClass::读取挂机文本() {
    std::optional<std::string> text = m_source ? m_source->ReadText() : std::nullopt;
    if (text && !text->empty()) {
        TextReport r = GetTxtStringArray(*text);
        m_lastErrors.insert(m_lastErrors.end(), r.errors.begin(), r.errors.end());
        return;
    }
    if (m_observer) m_observer->AskForDrawFile();
}

void LotteryClass::LoadHistorySafe() {
    m_lastErrors.clear();
    读取挂机文本();
}

void LotteryClass::GetLotteryHisroty() {
    if (MyIndex == 0) {
        if (m_observer) m_observer->ShowLabelTxt(kLoadingStatus);
        LotteryDic.RemoveAll();
        LotteryDic_Jiankong.RemoveAll();
        if (m_monitor) m_monitor->MonitorRows.RemoveAll();
        LoadHistorySafe();
    }
    IsGetHis = LotteryDic.Count() > 0;
    if (m_monitor) m_monitor->ReplayDone = IsGetHis;
    if (IsGetHis && m_observer) m_observer->OnLotteryRefresh(MyIndex);
}

void LotteryClass::GetLotteryNew() {
    IsGetNew = false;
    m_lastErrors.clear();
    if (MyIndex == 0) 读取挂机文本();
    if (!IsGetNew || !m_observer) return;
    m_observer->OnLotteryRefresh(MyIndex);
    // The monitor restarts only while it is switched on and no monitor plan runs. The alarm
    // is sounded after the restart: the replay is what evaluates the newest period, and the
    // next draw's evaluation would clear the alarm before anyone heard it.
    if (m_monitor && m_monitor->Monitoring && !m_monitor->PlanRunning)
        m_observer->MonitorRestart();
    m_observer->PlayAlarm();
}

} // namespace zuohao
