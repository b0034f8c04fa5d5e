// 回测 of the monitor window: the current rule (segment, hit counts, trigger, plan length,
// lock period) replayed over the draws, with the result appended to the record box.
#include <QPlainTextEdit>
#include <QScrollBar>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/MonitorBacktest.h"
#include "core/model/MonitorState.h"
#include "gui/monitor/JianKongForm.h"

namespace zuohao::gui {

namespace {
// The newest draws a replay reads at most (about 70 days of minute draws).
constexpr std::size_t kRuleBacktestDraws = 100000;

void appendLog(MonitorState& s, const std::string& line) {
    s.Log.push_back({{}, {}, line});
}

std::string resultLine(const MonitorBacktestResult& r, std::size_t draws) {
    std::string line = "回测 " + std::to_string(draws) + "期（评估 " + std::to_string(r.periods) +
                       "期）：告警 " + std::to_string(r.alarms) + " 次，计划中 " +
                       std::to_string(r.planHits) + " 次、挂 " + std::to_string(r.planMisses) +
                       " 次，最长连续挂 " + std::to_string(r.longestMissedPlans) + " 次";
    std::string at;
    for (std::size_t j = 1; j < r.hitAt.size(); ++j)
        if (r.hitAt[j] > 0)
            at += (at.empty() ? "" : "，") + std::string("中") + std::to_string(j) + " " +
                  std::to_string(r.hitAt[j]) + " 次";
    if (!at.empty()) line += "（" + at + "）";
    if (r.planOpen) line += "，最后一个计划未结束";
    return line;
}
} // namespace

void JianKongForm::HuiCeCom_Click() {
    ensureLoaded();
    LotteryClass* lottery = m_activeCls ? m_activeCls : m_lottery0();
    if (!lottery) return;
    MonitorRule rule;
    rule.idx = lottery->formSet().IDX;
    // The rule's base set: the one being monitored, else the main window's.
    rule.base = m_state.Monitoring || m_state.PlanRunning ? m_state.MonitorBase
                                                          : m_mainBaseText().toUtf8().toStdString();
    rule.segmentSettings = m_state.SegmentSettings;
    rule.lockPeriod = m_state.LockPeriod;
    rule.segmentPeriod = m_state.SegmentPeriod;
    if (rule.base.empty()) {
        appendLog(m_state, std::string("回测：") + kNoBaseMessage);
    } else {
        auto draws =
            m_provider ? m_provider(kRuleBacktestDraws) : HeldDraws(*lottery)(kRuleBacktestDraws);
        if (!draws)
            appendLog(m_state, "回测：读取开奖数据失败：" + draws.error());
        else
            appendLog(m_state, resultLine(ReplayMonitorRule(*draws, rule), draws->size()));
    }
    showLog();
}

} // namespace zuohao::gui
