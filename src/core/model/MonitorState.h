#pragma once
// The monitor's process-wide state: switches, settings, rows, counters and what the monitor
// window shows, all as typed values. Their texts (captions, grid cells, the log) are rendered
// in one place, core/model/Captions.cpp. The operations on it are in core/monitor/Monitor.h.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/NumberList.h"
#include "core/model/OrderedDict.h"
#include "core/model/Period.h"

namespace zuohao {

inline constexpr const char* kStartCaption = "开始监控";
inline constexpr const char* kStopCaption = "停止监控";
inline constexpr const char* kCopyBaseCaption = "复制大底";
inline constexpr const char* kNoBaseMessage = "未有【过滤大底】，先去做出大底";
inline constexpr std::size_t kMonitorRowLimit = 100;

// A period against the monitor's base set: hit (中) or miss (挂); None before any evaluation.
enum class Verdict : std::uint8_t { None, Hit, Miss };

// The plan column of a row: the alarm (告警), a monitor plan that hit in its period N (中N),
// or one that ended without a hit (挂).
struct PlanMark {
    enum Kind : std::uint8_t { None, Alarm, Hit, Miss };
    Kind kind = None;
    int period = 0; // of a hit: the plan period that hit
    bool operator==(const PlanMark&) const = default;
};

// One evaluated period of the monitor.
struct MonitorRow {
    std::string Qishu1;           // the period key
    std::string Haoma1;           // the position numbers of the period
    Verdict Zgua = Verdict::None; // 中挂: hit or miss of the period
    int Yluo = 0;                 // running hit count of the segment, carried to the next row
    int Zsu = 0;                  // 次数: on a hit the hits so far in the segment; 0 on a miss
    std::string TowJ;             // 二阶: carried over from the previous row; nothing sets it
    PlanMark Jhzg;                // 计划: the plan column
    int JHcount = 0;              // period number of the running plan; 0 when none runs
    int XHxain = 0;               // 1 when the period ends a segment, else 0
    int TOW_yluo = 0;             // 遗漏: current run of misses
};

using MonitorRowPtr = std::shared_ptr<MonitorRow>;

// A line of the record box (记录): a monitor plan that ended in a period, or a note written
// as it stands (a backtest's summary).
struct MonitorLogLine {
    std::string period; // the period key
    PlanMark mark;      // 中N or 挂
    std::string note;   // when not empty, the line itself
};

// What the plan label (计划Label), the copy button (DadiCom) and the base-set box
// (DadiTextBox) show: the running monitor plan's next period and the base set it follows.
struct PlanOutputs {
    int period = 0;  // 0: no plan is shown (empty label, plain copy caption, empty box)
    NumberList base; // the base set shown; empty when no plan is shown
    bool operator==(const PlanOutputs&) const = default;
};

// A monitor setting typed by the player, read once: the whole number at the start of the
// text; an empty or non-numeric text, or one that is no whole number (a period count of 2.5
// that no count ever equals), reads 0.
int SettingValue(std::string_view text);

// The start/stop button (jiankongCom): "开始监控" or "停止监控".
enum class StartButton : std::uint8_t { Start, Stop };

struct MonitorState {
    bool Monitoring = false;  // monitoring is switched on
    bool PlanRunning = false; // an alarm has started a plan that has not ended
    bool AlarmSound = false;  // the period evaluated last raised the alarm
    bool ReplayDone = false;  // false while a replay runs; log lines are written only when true
    OrderedDict<MonitorRowPtr> MonitorRows; // period key -> row, period order, newest 100
    // The segment boxes SZCom(0..3): lowest and highest hit count of a segment for an alarm,
    // plan length in periods, trigger value of the miss run.
    std::array<int, 4> SegmentSettings{};
    Period LockPeriod;      // QSCom: periods before it are not evaluated
    int SegmentPeriod = 0;  // ZhuoQiTxt: segment length in periods; 0: segments never end
    int TriggerCount = 0;   // times the miss run reached the trigger value since the last reset
    int SegmentPos = 0;     // periods evaluated in the current segment
    NumberList MonitorBase; // the base set the periods are tested against
    std::vector<MonitorLogLine> Log; // the record box, oldest line first
    int GridRowCount = 0;            // data rows of the monitor grid
    // The periods of the last refresh with new draws that raised the alarm (the note under
    // the plan label); cleared by the next refresh with draws and by switching off.
    std::vector<std::string> LastAlarmPeriods;

    // What the window shows (written by the evaluation whether or not the window is open),
    // and what it saved when it was last closed.
    PlanOutputs Outputs;
    StartButton Start = StartButton::Start;
    bool PeriodListEnabled = true; // QSCom
    PlanOutputs SavedOutputs;      // SavedPlanCaption, SavedBaseText
    StartButton SavedStart = StartButton::Start;

    // The texts, rendered by core/model/Captions.cpp.
    std::string LogText() const;
    std::string PlanLabelCaption() const;
    std::string CopyButtonCaption() const;
    std::string BaseText() const { return Outputs.base.text(); }
    std::string StartCaption() const;
    std::string SavedPlanCaption() const;
    std::string SavedBaseText() const { return SavedOutputs.base.text(); }
    std::string SavedStartCaption() const;
};

} // namespace zuohao
