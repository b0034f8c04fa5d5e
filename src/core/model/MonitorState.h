#pragma once
// The monitor's process-wide state: switches, settings, rows and counters, and the texts
// the monitor window shows (its plan label, copy button and base-set box). The operations
// on it are in core/monitor/Monitor.h.
#include <array>
#include <memory>
#include <string>

#include "core/model/LotteryItem.h"
#include "core/model/OrderedDict.h"
#include "core/model/Result.h"

namespace zuohao {

inline constexpr const char* kStartCaption = "开始监控";
inline constexpr const char* kStopCaption = "停止监控";
inline constexpr const char* kCopyBaseCaption = "复制大底";
inline constexpr const char* kNoBaseMessage = "未有【过滤大底】，先去做出大底";
inline constexpr std::size_t kMonitorRowLimit = 100;

struct MonitorState {
    bool Monitoring = false;
    bool PlanRunning = false;
    bool AlarmSound = false;
    bool ReplayDone = false;
    OrderedDict<std::shared_ptr<LotteryItem>> MonitorRows;
    std::array<std::string, 4> SegmentSettings{};
    std::string LockPeriod;
    std::string SegmentPeriod;
    int TriggerCount = 0;
    int SegmentPos = 0;
    std::string MonitorBase;
    std::string LogText;
    std::string SavedPlanCaption;
    std::string SavedBaseText;
    std::string SavedStartCaption = kStartCaption;
    int GridRowCount = 0;

    // What the monitor window's controls show (written by the evaluation whether or not
    // the window is open).
    std::string PlanLabelCaption;                     // 计划Label
    std::string CopyButtonCaption = kCopyBaseCaption; // DadiCom
    std::string BaseText;                             // DadiTextBox
    std::string StartCaption = kStartCaption;         // jiankongCom
    bool PeriodListEnabled = true;                    // QSCom
};

} // namespace zuohao
