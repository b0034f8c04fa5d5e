// The monitor computation: replay of all periods, one new period, and the evaluation of a
// period on its row.
#include "core/monitor/Monitor.h"

#include <algorithm>

#include "core/model/Groups.h"

namespace zuohao {

namespace {
void appendLog(MonitorState& s, Period period, const PlanMark& mark) {
    if (s.ReplayDone) s.AddLogLine({period, mark, {}});
}
} // namespace

void jishanJH(MonitorRow& row, MonitorState& s, std::string_view haoSr, Period period) {
    s.Outputs = {};

    int prevYluo = 0, prevJH = 0;
    if (!s.MonitorRows.empty()) {
        row = s.MonitorRows.back(); // the previous period's fields carry over
        prevYluo = row.Yluo;
        prevJH = row.JHcount;
    }
    row.setNumber(haoSr);
    row.period = period;
    s.AlarmSound = false;
    ++s.SegmentPos;
    row.JHcount = s.PlanRunning ? prevJH + 1 : 0;
    row.Jhzg = {};

    // The segment's hit count that allows an alarm lies between lowHits and highHits; the
    // trigger counts miss runs that reach triggerRun; a plan lasts planLength periods.
    const int lowHits = s.SegmentSettings[0];
    const int highHits = s.SegmentSettings[1];
    const int planLength = s.SegmentSettings[2];
    const int triggerRun = s.SegmentSettings[3];

    const bool hit = s.MonitorBase.containsText(haoSr);
    if (hit) {
        row.Zgua = Verdict::Hit;
        row.TOW_yluo = 0;
        row.Zsu = s.SegmentPos == 1 ? 1 : prevYluo + 1;
        if (s.PlanRunning) {
            row.Jhzg = {PlanMark::Hit, row.JHcount};
            s.PlanRunning = false;
            appendLog(s, period, row.Jhzg);
        }
        row.Yluo = row.Zsu;
    } else {
        row.Zsu = 0;
        if (s.SegmentPos == 1) row.Yluo = 0;
        row.Zgua = Verdict::Miss;
        row.TOW_yluo += 1;
        if (planLength == row.JHcount && s.PlanRunning) {
            row.Jhzg = {PlanMark::Miss, 0};
            s.PlanRunning = false;
            row.JHcount = 0;
            appendLog(s, period, row.Jhzg);
        }
        if (planLength == row.JHcount) s.TriggerCount = 0;
    }
    if (triggerRun == row.TOW_yluo) ++s.TriggerCount;
    if (row.TOW_yluo > planLength - 1) s.TriggerCount = 0;
    bool trigger = s.TriggerCount == 2;
    if (trigger) s.TriggerCount = 0;

    const int hits = row.Zsu; // 0 on a miss
    if (lowHits <= hits && hits <= highHits && row.JHcount == 0 && trigger && !s.PlanRunning) {
        s.PlanRunning = true;
        row.Jhzg = {PlanMark::Alarm, 0};
        s.AlarmSound = true;
        trigger = false;
        s.TriggerCount = 0;
    }
    if (planLength == row.JHcount && trigger) {
        row.JHcount = 0;
        s.AlarmSound = false;
    }
    if (s.PlanRunning) s.Outputs = {row.JHcount + 1, s.MonitorBase};
    if (s.SegmentPeriod == s.SegmentPos) {
        row.XHxain = 1;
        s.SegmentPos = 0;
    } else {
        row.XHxain = 0;
    }
}

void AddMonitorPeriod(MonitorState& s, Period period, std::string_view haoSr) {
    if (s.MonitorRows.Exists(period)) return;
    MonitorRow row;
    jishanJH(row, s, haoSr, period);
    s.MonitorRows.push(row);
    s.SavedOutputs = s.Outputs;
}

void ReplayMonitor(const LotteryState& lottery, MonitorState& s) {
    s.ReplayDone = false;
    if (s.Monitoring) {
        const Period lock = s.LockPeriod;
        const int idx = lottery.conditions.IDX;
        const DrawNumbers& periods = lottery.LotteryDic_Jiankong;
        const std::size_t n = periods.Count();
        for (std::size_t i = n - std::min(n, kReplayedPeriods); i < n; ++i) {
            const auto [label, haoma] = periods.at(i);
            const Period period = Period::parse(label);
            if (period >= lock)
                AddMonitorPeriod(s, period, PositionNumbers(idx, haoma));
            else if (!s.MonitorRows.Exists(period))
                s.MonitorRows.push(MonitorRow::placeholder(period));
        }
    }
    s.ReplayDone = true;
}

Result<void> ReashStar(MonitorState& s, const LotteryState& lottery, const NumberList& mainBase) {
    s.SegmentPos = 0;
    if (!s.PlanRunning) s.MonitorBase = mainBase;
    if (s.MonitorBase.empty()) return fail(ErrorCode::NoBaseSet, kNoBaseMessage);
    s.Monitoring = true;
    s.Start = StartButton::Stop;
    s.PeriodListEnabled = false;
    s.MonitorRows.RemoveAll();
    ReplayMonitor(lottery, s);
    return {};
}

Result<void> ToggleMonitoring(MonitorState& s, const LotteryState& lottery,
                              const NumberList& mainBase) {
    s.SegmentPos = 0;
    if (s.Monitoring) {
        s.Monitoring = false;
        s.Start = StartButton::Start;
        s.PeriodListEnabled = true;
        // Nothing is evaluated while monitoring is off: an alarm left standing would sound
        // at every draw, and the plan label would say "进行中" of a plan nobody follows. The
        // plan itself (and its frozen base set) resumes when monitoring is switched on.
        s.AlarmSound = false;
        s.LastAlarmPeriods.clear();
        s.Outputs = {};
        s.SavedOutputs = {};
        return {};
    }
    return ReashStar(s, lottery, mainBase);
}

} // namespace zuohao
