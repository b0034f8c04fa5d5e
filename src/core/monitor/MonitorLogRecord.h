#pragma once
// The record box's lines (MonitorState::Log) as one line of plain ASCII text, for the work the
// program keeps between runs, and back. A plan's line keeps its period and how it ended; a
// note keeps its text, escaped. Reading is strict piece by piece: a piece that is not one of
// ours is left out, and at most the newest kMonitorLogLimit lines are kept.
#include <string>
#include <string_view>
#include <vector>

#include "core/model/MonitorState.h"

namespace zuohao {

std::string MonitorLogRecord(const std::vector<MonitorLogLine>& log);

std::vector<MonitorLogLine> ParseMonitorLogRecord(std::string_view text);

} // namespace zuohao
