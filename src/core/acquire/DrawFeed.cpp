#include "core/acquire/DrawFeed.h"

#include <algorithm>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LineRule.h"
#include "core/acquire/Trust.h"
#include "core/model/MonitorState.h"
#include "core/model/Text.h"
#include "core/monitor/Monitor.h"
#include "core/plan/Plan.h"
#include "core/plan/ProcessDraw.h"

namespace zuohao {

inline constexpr const char* kNoDrawsInFile = "文件中没有开奖号码";
inline constexpr const char* kNoTextFallback = "开奖文件读不到";
inline constexpr const char* kRetrying = "，下次刷新再试";

TextReport EnterDrawText(LotteryState& lottery, std::string_view txt) {
    TextReport report;
    ParsedDrawText parsed = ParseDrawText(txt);
    report.lines = parsed.considered;
    report.skipped = parsed.skipped;
    for (const DrawLine& d : parsed.draws) {
        DrawOutcome o = EnterDraw(lottery, d.qishu, d.haoma);
        if (o.added) ++report.draws;
        if (!o.error.empty()) report.errors.push_back(d.qishu + ": " + o.error);
    }
    return report;
}

void RefreshEvents::take(DrawEvents draws) {
    auto append = [](auto& to, auto& from) {
        to.insert(to.end(), std::make_move_iterator(from.begin()),
                  std::make_move_iterator(from.end()));
    };
    append(entered, draws.entered);
    append(corrected, draws.corrected);
    append(scored, draws.scored);
}

void DrawFeed::setPollInterval(std::chrono::milliseconds interval) {
    m_quietTime = std::max(interval, kLeastQuietTime);
}

void DrawFeed::setNotice(std::string text, bool sticky) {
    m_feed.notice = std::move(text);
    m_stickyNotice = sticky;
    m_feed.missing.clear();
    m_feed.missingCount = 0;
}

void DrawFeed::noteNoText() {
    ++m_failedPolls;
    std::string why = m_source ? m_source->lastProblem() : std::string();
    if (why.empty()) why = kNoTextFallback;
    m_feed.alarm = m_failedPolls >= kFailedPollsBeforeAlarm;
    setNotice(m_feed.alarm ? why : why + kRetrying, false);
}

namespace {
std::string missingText(const HeadVerdict& v) {
    std::string t = "断期: 缺 ";
    for (std::size_t i = 0; i < v.missing.size(); ++i)
        t += (i ? "、" : "") + v.missing[i] + "期";
    if (v.missingCount > v.missing.size()) t += " 等 " + std::to_string(v.missingCount) + " 期";
    return t;
}

std::vector<std::pair<std::string, std::string>> pairs(const std::vector<DrawLine>& draws) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const DrawLine& d : draws)
        out.emplace_back(d.qishu, d.haoma);
    return out;
}
} // namespace

// One read of the file, judged by the rule of trust.
void DrawFeed::takeText(LotteryState& lottery, const std::string& text, RefreshEvents& events) {
    // The usual poll: the file as it was last believed, nothing to do.
    if (text == m_takenText && !lottery.LotteryDic.empty()) {
        m_failedPolls = 0;
        m_feed.alarm = false;
        if (!m_stickyNotice) setNotice({}, false);
        return;
    }
    m_takenText.clear();
    const std::vector<DrawLine> topDown = DrawLinesTopDown(text);
    if (topDown.empty()) {
        ++m_failedPolls;
        m_feed.alarm = m_failedPolls >= kFailedPollsBeforeAlarm;
        setNotice(kNoDrawsInFile, false);
        return;
    }
    m_failedPolls = 0;
    m_feed.alarm = false;
    if (!m_stickyNotice) setNotice({}, false);

    HeldView held;
    held.numbers = &lottery.LotteryDic_Jiankong;
    held.fillFloor = lottery.LotteryDic.Count() < kHeldDraws || lottery.LotteryDic.empty()
                         ? kNoFillFloor
                         : Period::parse(lottery.LotteryDic.front().first);
    const bool endsInsideLine = text.back() != '\n';
    const HeadVerdict v = JudgeDrawHead(topDown, endsInsideLine, held);
    // A read that is not whole may be a writer caught in the middle of a rewrite, however
    // often it is read while the writer pauses: it is believed only once it has stayed the
    // same for the quiet time.
    if (!v.whole) {
        const auto now = m_clock();
        if (text != m_heldBackText) {
            m_heldBackText = text;
            m_heldBackSince = now;
            return;
        }
        if (now - m_heldBackSince < m_quietTime) return;
    }
    m_heldBackText.clear();
    m_takenText = text;

    if (!v.corrected.empty() || !v.filled.empty()) {
        Rebuilt rebuilt = RebuildFrom(lottery, pairs(v.corrected), pairs(v.filled), pairs(v.fresh));
        m_lastErrors.insert(m_lastErrors.end(), rebuilt.errors.begin(), rebuilt.errors.end());
        m_restartDue = m_restartDue || rebuilt.events.monitorRestartDue;
        events.take(std::move(rebuilt.events));
        std::string notice;
        if (!v.corrected.empty()) notice = "第" + v.corrected.front().qishu + "期开奖号码已更正";
        if (!v.filled.empty())
            notice += (notice.empty() ? "" : "，") + std::string("补入 ") +
                      std::to_string(v.filled.size()) + " 期";
        setNotice(notice, true);
        return;
    }
    DrawEvents entered;
    for (const DrawLine& d : v.fresh) {
        DrawOutcome o = EnterDraw(lottery, d.qishu, d.haoma);
        RecordDraw(entered, d.qishu, d.haoma, o);
        if (!o.error.empty()) m_lastErrors.push_back(d.qishu + ": " + o.error);
    }
    m_restartDue = m_restartDue || entered.monitorRestartDue;
    events.take(std::move(entered));
    if (v.missingCount > 0) {
        setNotice(missingText(v), true);
        m_feed.missing = v.missing;
        m_feed.missingCount = v.missingCount;
    } else if (!v.fresh.empty())
        setNotice({}, false);
}

void DrawFeed::readFile(LotteryState& lottery, RefreshEvents& events) {
    std::optional<std::string> text = m_source ? m_source->ReadText() : std::nullopt;
    if (text && !text->empty()) {
        takeText(lottery, *text, events);
        return;
    }
    noteNoText();
    if (m_ask == AskForFile::Yes) events.askForFile = true;
}

RefreshEvents DrawFeed::ReadFile(LotteryState& lottery) {
    RefreshEvents events;
    m_restartDue = false;
    readFile(lottery, events);
    finish(lottery, events);
    return events;
}

RefreshEvents DrawFeed::LoadHistory(LotteryState& lottery, AskForFile ask) {
    RefreshEvents events;
    m_restartDue = false;
    if (m_source) {
        lottery.LotteryDic.RemoveAll();
        lottery.LotteryDic_Jiankong.RemoveAll();
        lottery.snapshots.clear();
        m_takenText.clear();
        setNotice({}, false);
        lottery.monitor.MonitorRows.RemoveAll();
        m_ask = ask;
        m_lastErrors.clear();
        readFile(lottery, events);
        m_ask = AskForFile::No;
    }
    lottery.IsGetHis = lottery.LotteryDic.Count() > 0;
    lottery.monitor.ReplayDone = lottery.IsGetHis;
    events.historyLoaded = lottery.IsGetHis;
    finish(lottery, events);
    events.drew = lottery.IsGetHis;
    return events;
}

namespace {
// The periods this refresh entered after `newestBefore` (every one when none was held).
std::vector<std::string> periodsAfter(const RefreshEvents& events,
                                      const std::optional<Period>& newestBefore) {
    std::vector<std::string> out;
    for (const DrawEntered& d : events.entered)
        if (!newestBefore || Period::parse(d.period) > *newestBefore) out.push_back(d.period);
    return out;
}

// Of `periods`, those whose row in the monitor carries the alarm mark.
std::vector<AlarmRaised> alarmsAmong(const LotteryState& lottery,
                                     const std::vector<std::string>& periods) {
    std::vector<AlarmRaised> out;
    const MonitorState& monitor = lottery.monitor;
    if (!monitor.Monitoring) return out;
    for (const std::string& label : periods) {
        const MonitorRow* row = monitor.MonitorRows.find(Period::parse(label));
        if (row && row->Jhzg.kind == PlanMark::Alarm)
            out.push_back({label, lottery.conditions.IDX, row->TOW_yluo});
    }
    return out;
}
} // namespace

void DrawFeed::restartMonitor(LotteryState& lottery, RefreshEvents& events) {
    auto r = RestartMonitor(lottery);
    events.restart = r ? MonitorRestart::Done : MonitorRestart::Skipped;
    if (!r) events.restartProblem = r.error();
}

void DrawFeed::finish(LotteryState& lottery, RefreshEvents& events) {
    // A plan's new base set restarts the monitor once for all the draws of the refresh.
    if (m_restartDue && MonitorFollowsBaseSet(lottery)) restartMonitor(lottery, events);
    m_restartDue = false;
    events.drew = lottery.IsGetNew;
    events.status = m_feed;
    events.errors = m_lastErrors;
}

RefreshEvents DrawFeed::FetchNew(LotteryState& lottery) {
    RefreshEvents events;
    lottery.IsGetNew = false;
    m_lastErrors.clear();
    m_restartDue = false;
    std::optional<Period> newestBefore;
    if (!lottery.LotteryDic_Jiankong.empty())
        newestBefore = Period::parse(lottery.LotteryDic_Jiankong.back().first);
    if (m_source) readFile(lottery, events);
    if (lottery.IsGetNew) {
        // The monitor restarts only while it is switched on and no monitor plan runs (a
        // running one was fed each draw as it entered). The replay is what evaluates the
        // newest periods: the alarms are read after it. Every period of this refresh counts,
        // not only the last: when the program writes several draws at once, an alarm raised
        // by an earlier one must not be lost to the ones after it.
        const MonitorState& monitor = lottery.monitor;
        if (monitor.Monitoring && !monitor.PlanRunning) m_restartDue = true;
    }
    finish(lottery, events);
    if (lottery.IsGetNew) {
        events.alarms = alarmsAmong(lottery, periodsAfter(events, newestBefore));
        if (!events.alarms.empty()) {
            events.alarmPlan.caption = lottery.monitor.PlanLabelCaption();
            events.alarmPlan.baseCount = lottery.monitor.MonitorBase.count();
        }
    }
    return events;
}

} // namespace zuohao
