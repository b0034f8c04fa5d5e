// The monitor computation: replay of all periods, one new period, and the evaluation of a
// period on its row.
#include "core/monitor/Monitor.h"
#include "core/model/LotteryClass.h"
#include "core/model/Text.h"

namespace zuohao {

std::string PeriodKey(std::string_view label) {
    return DecimalText(NumericValue(label));
}

namespace {
void appendLog(MonitorState& s, const std::string& qiStr, const std::string& jhzg) {
    if (!s.ReplayDone) return;
    std::string line = qiStr + "期 --- " + jhzg;
    s.LogText = s.LogText.empty() ? line : s.LogText + "\r\n" + line;
}
} // namespace

void LotteryItem::jishanJH(MonitorState& s, std::string_view haoSr, std::string_view qiStr) {
    s.PlanLabelCaption.clear();
    s.CopyButtonCaption = kCopyBaseCaption;
    s.BaseText.clear();

    int prevYluo = 0, prevJH = 0;
    if (!s.MonitorRows.empty()) {
        const LotteryItem& p = *s.MonitorRows.back().second;
        Zgua = p.Zgua;
        Yluo = p.Yluo;
        Zsu = p.Zsu;
        TowJ = p.TowJ;
        Jhzg = p.Jhzg;
        XHxain = p.XHxain;
        JHcount = p.JHcount;
        TOW_yluo = p.TOW_yluo;
        prevYluo = p.Yluo;
        prevJH = p.JHcount;
    }
    Haoma1.assign(haoSr);
    Qishu1.assign(qiStr);
    s.AlarmSound = false;
    ++s.SegmentPos;
    JHcount = s.PlanRunning ? prevJH + 1 : 0;
    Jhzg.clear();

    const double S0 = NumericValue(s.SegmentSettings[0]);
    const double S1 = NumericValue(s.SegmentSettings[1]);
    const double S2 = NumericValue(s.SegmentSettings[2]);
    const double S3 = NumericValue(s.SegmentSettings[3]);

    const bool hit = s.MonitorBase.find(haoSr) != std::string::npos;
    if (hit) {
        Zgua = "中";
        TOW_yluo = 0;
        Zsu = s.SegmentPos == 1 ? std::string("1") : std::to_string(prevYluo + 1);
        if (s.PlanRunning) {
            Jhzg = "中" + std::to_string(JHcount);
            s.PlanRunning = false;
            appendLog(s, Qishu1, Jhzg);
        }
        Yluo = int(NumericValue(Zsu));
    } else {
        Zsu.clear();
        if (s.SegmentPos == 1) Yluo = 0;
        Zgua = "挂";
        TOW_yluo += 1;
        if (S2 == JHcount && s.PlanRunning) {
            Jhzg = "挂";
            s.PlanRunning = false;
            JHcount = 0;
            appendLog(s, Qishu1, Jhzg);
        }
        if (S2 == JHcount) s.TriggerCount = 0;
    }
    if (S3 == TOW_yluo) ++s.TriggerCount;
    if (TOW_yluo > S2 - 1) s.TriggerCount = 0;
    bool trigger = s.TriggerCount == 2;
    if (trigger) s.TriggerCount = 0;

    const double z = NumericValue(Zsu);
    if (S0 <= z && z <= S1 && JHcount == 0 && trigger && !s.PlanRunning) {
        s.PlanRunning = true;
        Jhzg = "告警";
        s.AlarmSound = true;
        trigger = false;
        s.TriggerCount = 0;
    }
    if (S2 == JHcount && trigger) {
        JHcount = 0;
        s.AlarmSound = false;
    }
    if (s.PlanRunning) {
        s.PlanLabelCaption = "【第 " + std::to_string(JHcount + 1) + " 期】进行中……";
        s.BaseText = s.MonitorBase;
        s.CopyButtonCaption = std::string(kCopyBaseCaption) + " " +
                              std::to_string(CountNumberList(s.MonitorBase)) + "注";
    }
    if (NumericValue(s.SegmentPeriod) == s.SegmentPos) {
        XHxain = 1;
        s.SegmentPos = 0;
    } else {
        XHxain = 0;
    }
}

void LotteryClass::JiHuaDicAddNewClass(const std::string& qiStr, const std::string& haoSr) {
    if (!m_monitor) return;
    MonitorState& s = *m_monitor;
    if (s.MonitorRows.Exists(qiStr)) return;
    auto row = std::make_shared<LotteryItem>();
    row->jishanJH(s, haoSr, qiStr);
    s.MonitorRows.Add(qiStr, row);
    s.SavedPlanCaption = s.PlanLabelCaption;
    s.SavedBaseText = s.BaseText;
    while (s.MonitorRows.Count() > kMonitorRowLimit)
        s.MonitorRows.RemoveFirst();
}

void LotteryClass::JihuaStar() {
    if (!m_monitor) return;
    MonitorState& s = *m_monitor;
    s.ReplayDone = false;
    if (s.Monitoring) {
        auto blank = std::make_shared<LotteryItem>();
        const double lock = NumericValue(s.LockPeriod);
        for (const auto& [label, haoma] : LotteryDic_Jiankong) {
            std::string p = weizhiHAO(haoma);
            std::string k = PeriodKey(label);
            if (NumericValue(label) >= lock) {
                JiHuaDicAddNewClass(k, p);
            } else if (s.MonitorRows.Add(k, blank)) {
                while (s.MonitorRows.Count() > kMonitorRowLimit)
                    s.MonitorRows.RemoveFirst();
            }
        }
    }
    s.ReplayDone = true;
}

Result<void> ReashStar(MonitorState& s, LotteryClass& lottery, std::string_view mainBaseText) {
    s.SegmentPos = 0;
    if (!s.PlanRunning) s.MonitorBase.assign(mainBaseText);
    if (s.MonitorBase.empty()) return fail(ErrorCode::NoBaseSet, kNoBaseMessage);
    s.Monitoring = true;
    s.StartCaption = kStopCaption;
    s.PeriodListEnabled = false;
    s.MonitorRows.RemoveAll();
    lottery.JihuaStar();
    return {};
}

Result<void> ToggleMonitoring(MonitorState& s, LotteryClass& lottery,
                              std::string_view mainBaseText) {
    s.SegmentPos = 0;
    if (s.Monitoring) {
        s.Monitoring = false;
        s.StartCaption = kStartCaption;
        s.PeriodListEnabled = true;
        // Nothing is evaluated while monitoring is off: an alarm left standing would sound
        // at every draw, and the plan label would say "进行中" of a plan nobody follows. The
        // plan itself (and its frozen base set) resumes when monitoring is switched on.
        s.AlarmSound = false;
        s.PlanLabelCaption.clear();
        s.CopyButtonCaption = kCopyBaseCaption;
        s.BaseText.clear();
        s.SavedPlanCaption.clear();
        s.SavedBaseText.clear();
        return {};
    }
    return ReashStar(s, lottery, mainBaseText);
}

} // namespace zuohao
