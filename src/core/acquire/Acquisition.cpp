// LotteryClass operations of draw acquisition: history load and new-draw fetch.
#include "core/acquire/DrawSource.h"
#include "core/acquire/LineRule.h"
#include "core/model/LotteryClass.h"
#include "core/model/MonitorState.h"

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

// A read taken while the betting program rewrites its file may stop inside a line or right
// after one: the lines of the new draws are there, the older ones are not yet. When none of
// the complete lines is a draw already held, such a read could let draws enter out of order,
// so it is held back for one poll; the same text read again is taken as it is (a short file,
// or one without a final line break). A history load (nothing held) holds back only a read
// that stops inside a line.
bool LotteryClass::looksCutOff(const std::string& text) const {
    const bool endsInsideLine = !text.empty() && text.back() != '\n';
    if (!endsInsideLine && LotteryDic.empty()) return false;
    std::size_t lines = 0, start = 0;
    while (true) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) break;
        ++lines;
        for (const DrawLine& d :
             ParseDrawText(std::string_view(text).substr(start, nl - start)).draws)
            if (LotteryDic.Exists(d.qishu)) return false;
        start = nl + 1;
    }
    if (endsInsideLine) ++lines;
    return lines < std::size_t(kDrawFileLines);
}

void LotteryClass::读取挂机文本() {
    std::optional<std::string> text = m_source ? m_source->ReadText() : std::nullopt;
    if (text && !text->empty() && looksCutOff(*text) && *text != m_heldBackText) {
        m_heldBackText = *text;
        return;
    }
    m_heldBackText.clear();
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
    if (m_monitor && m_monitor->Monitoring && !m_monitor->PlanRunning) m_observer->MonitorRestart();
    m_observer->PlayAlarm();
}

} // namespace zuohao
