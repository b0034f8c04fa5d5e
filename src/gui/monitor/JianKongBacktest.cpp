// 回测 of the monitor window: the current rule (segment, hit counts, trigger, plan length,
// lock period) replayed over the draws on the window's worker thread, with the result
// appended to the record box. While it runs the button shows its progress and cancels it.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/MonitorBacktest.h"
#include "core/model/MonitorState.h"
#include "gui/common/BackgroundWork.h"
#include "gui/monitor/JianKongForm.h"

namespace zuohao::gui {

namespace {
// The newest draws a replay reads at most (about 70 days of minute draws).
constexpr std::size_t kRuleBacktestDraws = 100000;
// Share of the progress that reading the draws takes.
constexpr double kReadShare = 0.3;
constexpr int kLane = 0;

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

// The log line a finished replay writes.
std::string replayLine(const DrawSourceCopy& source, const MonitorRule& rule,
                       const RunControl& control) {
    auto draws = ReadDraws(source, kRuleBacktestDraws, PartOf(control, 0, kReadShare));
    if (!draws) return "回测：读取开奖数据失败：" + draws.error();
    auto r = ReplayMonitorRule(*draws, rule, PartOf(control, kReadShare, 1));
    if (!r) return "回测：" + r.error();
    return resultLine(*r, draws->size());
}
} // namespace

void JianKongForm::HuiCeCom_Click() {
    ensureLoaded();
    if (m_backtestRunning) {
        m_work->cancel(kLane);
        // Told in the log of the lottery it replayed, whichever is chosen now.
        addBacktestLine(m_backtestLottery, "回测已取消");
        ruleBacktestEnded();
        showLog();
        return;
    }
    startRuleBacktest();
}

void JianKongForm::startRuleBacktest() {
    LotteryClass* lottery = current();
    if (!lottery) return;
    const MonitorState& s = lottery->monitor();
    MonitorRule rule;
    rule.idx = lottery->formSet().IDX;
    // The rule's base set: the one being monitored, else the lottery's own.
    rule.base = s.Monitoring || s.PlanRunning ? s.MonitorBase : lottery->formSet().DAD;
    rule.segmentSettings = s.SegmentSettings;
    rule.lockPeriod = s.LockPeriod;
    rule.segmentPeriod = s.SegmentPeriod;
    if (rule.base.empty()) {
        addBacktestLine(lottery, std::string("回测：") + kNoBaseMessage);
        showLog();
        return;
    }
    if (!m_work) {
        m_work = new BackgroundWork(this);
        connect(m_work, &BackgroundWork::progress, this, [this](int, int percent) {
            if (m_backtestRunning) m_huiCeCom->setText(QStringLiteral("取消回测 %1%").arg(percent));
        });
    }
    m_backtestRunning = true;
    m_backtestLottery = lottery;
    m_huiCeCom->setText(QStringLiteral("取消回测 0%"));
    DrawSourceCopy source = m_source ? m_source() : CopyDrawSource({}, lottery);
    m_work->post(kLane, [this, lottery, source = std::move(source),
                         rule = std::move(rule)](const RunControl& control) {
        std::string line = replayLine(source, rule, control);
        // The result goes to the log of the lottery it replayed, whichever is chosen now.
        return [this, lottery, line = std::move(line)] {
            addBacktestLine(lottery, line);
            ruleBacktestEnded();
            showLog();
        };
    });
}

void JianKongForm::addBacktestLine(LotteryClass* lottery, const std::string& line) {
    // A lottery the player removed meanwhile is gone with its log.
    if (std::find(m_listed.begin(), m_listed.end(), lottery) == m_listed.end()) return;
    lottery->monitor().AddLogLine({{}, {}, line});
    emit logAdded();
}

void JianKongForm::ruleBacktestEnded() {
    m_backtestRunning = false;
    m_backtestLottery = nullptr;
    m_huiCeCom->setText(QStringLiteral("回测"));
}

} // namespace zuohao::gui
