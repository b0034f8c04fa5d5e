#include "gui/display/PlanStatsFigures.h"

#include "core/acquire/LotteryClass.h"
#include "core/analysis/Chance.h"
#include "core/analysis/PlanRecord.h"
#include "core/model/Text.h"

namespace zuohao::gui {

QString Percent(double share) {
    return QStringLiteral("%1%").arg(100.0 * share, 0, 'f', 1);
}

namespace {
// "period  count注  【group】  中": the count follows the first two spaces.
int lineSize(const std::string& planTxt) {
    const std::size_t gap = planTxt.find("  ");
    return gap == std::string::npos ? 0 : int(NumericValue(planTxt.substr(gap + 2)));
}
} // namespace

void RunningPlanRecord::absorb(const LotteryClass& lottery) {
    if (&lottery != m_lottery || lottery.StartPlanQi != m_start) {
        m_lottery = &lottery;
        m_start = lottery.StartPlanQi;
        m_lines.clear();
        m_seen.clear();
    }
    m_running = lottery.IsHasPlan;
    m_space = lottery.formSet().fourDigit() ? 10000 : 1000;
    for (const auto& [label, item] : lottery.LotteryDic) {
        if (item->Qishu.compare(m_start) < 0) continue; // an earlier plan's line
        if (!item->Plan || item->Plan->outcome == PlanOutcome::Running) continue;
        if (!m_seen.insert(item->Qishu).second) continue;
        m_lines.push_back(
            {item->Qishu, int(item->Plan->count), item->Plan->outcome == PlanOutcome::Hit});
        if (m_lines.size() > kMaxLines) {
            m_seen.erase(m_lines.front().period);
            m_lines.pop_front();
        }
    }
}

RunningPlan RunningPlanRecord::plan() const {
    RunningPlan plan;
    plan.running = m_running;
    plan.spaceSize = m_space;
    double sizes = 0;
    for (const Line& l : m_lines) {
        plan.hits.push_back(l.hit);
        sizes += l.size;
    }
    if (!m_lines.empty()) plan.meanSize = sizes / double(m_lines.size());
    plan.chance = plan.meanSize / plan.spaceSize;
    return plan;
}

RunningPlan RunningPlanOf(const LotteryClass& lottery) {
    RunningPlanRecord record;
    record.absorb(lottery);
    return record.plan();
}

namespace {
QString row(const QString& a, const QString& av, const QString& b, const QString& bv) {
    return QStringLiteral("<tr><td>%1</td><td align=right><b>%2</b></td><td width=24></td>"
                          "<td>%3</td><td align=right><b>%4</b></td></tr>")
        .arg(a, av, b, bv);
}
} // namespace

QString RecordFiguresHtml(const std::vector<bool>& hits, double meanSize, int spaceSize) {
    const PlanRecordStats s = PlanStatsOf(hits);
    const double p = spaceSize > 0 ? meanSize / spaceSize : 0.0;
    QString html = QStringLiteral("<table cellspacing=2>");
    html += row(QStringLiteral("期数"), QString::number(s.periods), QStringLiteral("平均注数"),
                QString::number(meanSize, 'f', 1));
    html += row(QStringLiteral("实际命中率"),
                QStringLiteral("%1（%2中）").arg(Percent(s.hitRate())).arg(s.hits),
                QStringLiteral("理论命中率"), Percent(p));
    html += row(QStringLiteral("最长连挂"), QString::number(s.longestMissRun),
                QStringLiteral("理论最长连挂"),
                QString::number(ExpectedLongestMissRun(p, s.periods), 'f', 1));
    html += row(QStringLiteral("当前连挂"), QString::number(s.currentMissRun),
                QStringLiteral("%1期内连挂%2期以上的理论机会").arg(s.periods).arg(s.longestMissRun),
                Percent(MissRunAtLeast(p, s.longestMissRun, s.periods)));
    html += QStringLiteral("</table>");
    return html;
}

QString RunningFiguresHtml(const RunningPlan& plan) {
    if (plan.hits.empty())
        return plan.running ? QStringLiteral("计划进行中，尚无开奖结果")
                            : QStringLiteral("未开始计划（点击“开始计划”后逐期统计）");
    return RecordFiguresHtml(plan.hits, plan.meanSize, plan.spaceSize);
}

QString BacktestFiguresHtml(const BacktestResult& result, bool pipeline) {
    QString head = pipeline ? QStringLiteral("按自动做号回测") : QStringLiteral("固定条件回测");
    if (result.skipped > 0)
        head += QStringLiteral("，跳过无效或重复开奖 %1 期").arg(result.skipped);
    return head + RecordFiguresHtml(result.hits(), result.meanSize(), result.spaceSize);
}

} // namespace zuohao::gui
