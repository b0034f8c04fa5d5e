#include "core/model/Captions.h"

#include <cmath>

#include "core/model/Groups.h"
#include "core/model/Text.h"

namespace zuohao {

namespace {
constexpr std::string_view kHitText = "中", kMissText = "挂";
constexpr std::string_view kAlarmText = "告警";
constexpr std::string_view kRunningText = "进行中...";
} // namespace

std::string PlanLineText(const PlanLine& line) {
    std::string out = line.period;
    out += "  ";
    out += std::to_string(line.count);
    out += "注  【";
    if (line.group >= 0 && line.group < kGroupCount) out += GroupName(line.group);
    out += "】  ";
    switch (line.outcome) {
    case PlanOutcome::Running:
        out += kRunningText;
        break;
    case PlanOutcome::Hit:
        out += kHitText;
        break;
    case PlanOutcome::Miss:
        out += kMissText;
        break;
    }
    return out;
}

std::string VerdictText(Verdict v) {
    switch (v) {
    case Verdict::Hit:
        return std::string(kHitText);
    case Verdict::Miss:
        return std::string(kMissText);
    default:
        return {};
    }
}

std::string HitCountText(int zsu) {
    return zsu == 0 ? std::string() : std::to_string(zsu);
}

std::string PlanMarkText(const PlanMark& mark) {
    switch (mark.kind) {
    case PlanMark::Alarm:
        return std::string(kAlarmText);
    case PlanMark::Hit:
        return std::string(kHitText) + std::to_string(mark.period);
    case PlanMark::Miss:
        return std::string(kMissText);
    default:
        return {};
    }
}

std::string MonitorRowPeriodText(const MonitorRow& row) {
    return row.evaluated() ? row.period.text() : std::string();
}

std::string MonitorRowNumberText(const MonitorRow& row) {
    return std::string(row.number());
}

std::string LogLineText(const MonitorLogLine& line) {
    if (!line.note.empty()) return line.note;
    return line.period.text() + "期 --- " + PlanMarkText(line.mark);
}

std::string PlanLabelCaption(const PlanOutputs& shown) {
    if (shown.period == 0) return {};
    return "【第 " + std::to_string(shown.period) + " 期】进行中……";
}

std::string CopyButtonCaption(const PlanOutputs& shown) {
    if (shown.period == 0) return kCopyBaseCaption;
    return std::string(kCopyBaseCaption) + " " + std::to_string(shown.base.count()) + "注";
}

std::string StartButtonCaption(StartButton button) {
    return button == StartButton::Stop ? kStopCaption : kStartCaption;
}

int SettingValue(std::string_view text) {
    const double v = NumericValue(text);
    constexpr double kLimit = 1e9;
    if (!(v <= kLimit && v >= -kLimit) || v != std::trunc(v)) return 0;
    return static_cast<int>(v);
}

// MonitorState's texts.
std::string MonitorState::LogText() const {
    std::string out;
    for (const MonitorLogLine& line : Log) {
        if (!out.empty()) out += "\r\n";
        out += LogLineText(line);
    }
    return out;
}
std::string MonitorState::PlanLabelCaption() const {
    return zuohao::PlanLabelCaption(Outputs);
}
std::string MonitorState::CopyButtonCaption() const {
    return zuohao::CopyButtonCaption(Outputs);
}
std::string MonitorState::StartCaption() const {
    return StartButtonCaption(Start);
}
std::string MonitorState::SavedPlanCaption() const {
    return zuohao::PlanLabelCaption(SavedOutputs);
}
std::string MonitorState::SavedStartCaption() const {
    return StartButtonCaption(SavedStart);
}

std::string AlarmNoteText(const std::vector<std::string>& periods) {
    if (periods.empty()) return {};
    std::string text = "告警：第 ";
    for (std::size_t i = 0; i < periods.size(); ++i)
        text += (i ? "、" : "") + periods[i];
    return text + " 期";
}

std::string AlarmNoteText(std::string_view lottery, const std::vector<std::string>& periods) {
    std::string text = AlarmNoteText(periods);
    if (text.empty() || lottery.empty()) return text;
    return std::string(lottery) + " " + text;
}

} // namespace zuohao
