#pragma once
// The one place where the engine's typed state becomes the texts the windows and the
// command-line tool show: plan lines, the monitor grid's cells, its captions and its log.
// Nothing reads these texts back.
#include <string>
#include <string_view>
#include <vector>

#include "core/model/MonitorState.h"
#include "core/model/PlanLine.h"

namespace zuohao {

// A plan line: period, two spaces, count, "注  【", group name, "】  " and 进行中..., 中 or 挂.
std::string PlanLineText(const PlanLine& line);

// The monitor grid's 中挂 column: 中, 挂, or empty before any evaluation.
std::string VerdictText(Verdict v);
// The monitor grid's 次数 column: the hit count, empty for 0 (a miss).
std::string HitCountText(int zsu);
// The monitor grid's 计划 column and a log line's result: 告警, 中N, 挂 or empty.
std::string PlanMarkText(const PlanMark& mark);
// A monitor row's 期数 (Qishu1): the period's decimal text, empty on a placeholder row.
std::string MonitorRowPeriodText(const MonitorRow& row);
// A monitor row's 奖号 (Haoma1): its position numbers as drawn, leading zeros kept.
std::string MonitorRowNumberText(const MonitorRow& row);
// A line of the record box: "<period>期 --- <mark>", or its note.
std::string LogLineText(const MonitorLogLine& line);

// The plan label: "【第 N 期】进行中……", empty when no plan is shown.
std::string PlanLabelCaption(const PlanOutputs& shown);
// The copy button: "复制大底", with " <count>注" of the base set while a plan is shown.
std::string CopyButtonCaption(const PlanOutputs& shown);
// The start/stop button.
std::string StartButtonCaption(StartButton button);
// The alarm note of a refresh: "告警：第 <period>、<period> 期"; empty without periods.
std::string AlarmNoteText(const std::vector<std::string>& periods);
// The same, naming the lottery that raised it: "<lottery> 告警：第 <period> 期".
std::string AlarmNoteText(std::string_view lottery, const std::vector<std::string>& periods);

} // namespace zuohao
