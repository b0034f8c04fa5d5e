#pragma once
// A lottery's monitor: switches, settings, rows, counters and what the monitor window shows
// of it, all as typed values; each lottery holds its own (core/model/LotteryState.h). Their
// texts (captions, grid cells, the log) are rendered in one place, core/model/Captions.cpp. The
// operations on it are in core/monitor/Monitor.h.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/NumberList.h"
#include "core/model/Period.h"

namespace zuohao {

inline constexpr const char* kStartCaption = "开始监控";
inline constexpr const char* kStopCaption = "停止监控";
inline constexpr const char* kCopyBaseCaption = "复制大底";
inline constexpr const char* kNoBaseMessage = "未有【过滤大底】，先去做出大底";
inline constexpr std::size_t kMonitorRowLimit = 100;
// Lines the record box (记录) keeps; the oldest leave first.
inline constexpr std::size_t kMonitorLogLimit = 500;

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

// Characters of a monitor row's position numbers: a group takes at most four digits of a
// five-digit draw; one more keeps any draw's full number.
inline constexpr std::size_t kMonitorRowDigits = 5;

// One period of the monitor, as a compact value; its texts are rendered where they are shown
// (MonitorRowPeriodText, MonitorRowNumberText in core/model/Captions.h). A row of a period
// before the lock period is a placeholder: it holds its period only and was never evaluated.
struct MonitorRow {
    Period period; // the period (the row's key; Qishu1 once evaluated)
    std::array<char, kMonitorRowDigits> digits{}; // Haoma1: the position numbers
    std::uint8_t digitCount = 0;
    Verdict Zgua = Verdict::None; // 中挂: hit or miss of the period; None on a placeholder
    std::uint8_t XHxain = 0;      // 1 when the period ends a segment, else 0
    PlanMark Jhzg;                // 计划: the plan column
    int Yluo = 0;                 // running hit count of the segment, carried to the next row
    int Zsu = 0;                  // 次数: on a hit the hits so far in the segment; 0 on a miss
    int JHcount = 0;              // period number of the running plan; 0 when none runs
    int TOW_yluo = 0;             // 遗漏: current run of misses
    // 二阶 (TowJ) is carried over from the previous row and nothing ever sets it: it is always
    // empty, and the row does not hold it.

    bool evaluated() const { return Zgua != Verdict::None; }
    std::string_view number() const { return {digits.data(), digitCount}; }
    // Keeps the first kMonitorRowDigits characters of `numbers`.
    void setNumber(std::string_view numbers) {
        digitCount = std::uint8_t(std::min(numbers.size(), kMonitorRowDigits));
        std::copy_n(numbers.data(), digitCount, digits.data());
    }
    static MonitorRow placeholder(Period p) {
        MonitorRow r;
        r.period = p;
        return r;
    }
};

// The monitor's newest kMonitorRowLimit rows in the order they were added, held in place: a
// new row takes the place of the oldest once the rows are full, so the rows never take more
// memory than that. Looked up by period.
class MonitorRowRing {
public:
    class const_iterator {
    public:
        using value_type = MonitorRow;
        using difference_type = std::ptrdiff_t;
        const_iterator() = default;
        const_iterator(const MonitorRowRing* rows, std::size_t i) : m_rows(rows), m_i(i) {}
        const MonitorRow& operator*() const { return m_rows->at(m_i); }
        const MonitorRow* operator->() const { return &m_rows->at(m_i); }
        const_iterator& operator++() {
            ++m_i;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++m_i;
            return old;
        }
        bool operator==(const const_iterator& o) const { return m_i == o.m_i; }

    private:
        const MonitorRowRing* m_rows = nullptr;
        std::size_t m_i = 0;
    };

    std::size_t Count() const { return m_count; }
    bool empty() const { return m_count == 0; }
    // Row i, 0 the oldest.
    const MonitorRow& at(std::size_t i) const { return m_rows[slot(i)]; }
    const MonitorRow& front() const { return at(0); }
    const MonitorRow& back() const { return at(m_count - 1); }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_count}; }

    // The row of a period; null when none is held.
    const MonitorRow* find(Period p) const;
    bool Exists(Period p) const { return find(p) != nullptr; }
    // Appends a row (of a period not held); the oldest leaves when the rows are full.
    void push(const MonitorRow& row);
    // Removes the row of a period; false when none is held.
    bool Remove(Period p);
    void RemoveAll() {
        m_first = m_count = 0;
        m_highest.reset();
    }

private:
    std::size_t slot(std::size_t i) const { return (m_first + i) % kMonitorRowLimit; }

    std::array<MonitorRow, kMonitorRowLimit> m_rows{};
    std::size_t m_first = 0;
    std::size_t m_count = 0;
    // No held period lies above it (after a removal it may lie above them all): rows mostly
    // come in period order, and a new period is then known to be absent without a search.
    std::optional<Period> m_highest;
};

// A line of the record box (记录): a monitor plan that ended in a period, or a note written
// as it stands (a backtest's summary).
struct MonitorLogLine {
    Period period;    // the period the plan ended in
    PlanMark mark;    // 中N or 挂
    std::string note; // when not empty, the line itself
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
    bool Monitoring = false;    // monitoring is switched on
    bool PlanRunning = false;   // an alarm has started a plan that has not ended
    bool AlarmSound = false;    // the period evaluated last raised the alarm
    bool ReplayDone = false;    // false while a replay runs; log lines are written only when true
    MonitorRowRing MonitorRows; // the newest 100 periods, in the order they were evaluated
    // The segment boxes SZCom(0..3): lowest and highest hit count of a segment for an alarm,
    // plan length in periods, trigger value of the miss run.
    std::array<int, 4> SegmentSettings{};
    Period LockPeriod;      // QSCom: periods before it are not evaluated
    int SegmentPeriod = 0;  // ZhuoQiTxt: segment length in periods; 0: segments never end
    int TriggerCount = 0;   // times the miss run reached the trigger value since the last reset
    int SegmentPos = 0;     // periods evaluated in the current segment
    NumberList MonitorBase; // the base set the periods are tested against
    std::vector<MonitorLogLine> Log; // the record box, oldest line first, the newest kept
    std::uint64_t LogLinesAdded = 0; // lines ever added (the kept work is written when it moves)
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

    // Adds a line to the record box; beyond kMonitorLogLimit lines the oldest leaves.
    void AddLogLine(MonitorLogLine line);

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
