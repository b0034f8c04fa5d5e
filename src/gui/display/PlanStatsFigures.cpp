#include "gui/display/PlanStatsFigures.h"

#include "core/analysis/Chance.h"
#include "core/analysis/PlanRecord.h"
#include "core/model/LotteryClass.h"
#include "core/model/Text.h"

namespace zuohao::gui {

QString Percent(double share) {
    return QStringLiteral("%1%").arg(100.0 * share, 0, 'f', 1);
}

RunningPlan RunningPlanOf(const LotteryClass& lottery) {
    RunningPlan plan;
    plan.running = lottery.IsHasPlan;
    plan.spaceSize = lottery.formSet().fourDigit() ? 10000 : 1000;
    double sizes = 0;
    for (const auto& [label, item] : lottery.LotteryDic) {
        if (item->Qishu.compare(lottery.StartPlanQi) < 0) continue; // an earlier plan's line
        const int result = PlanLineResult(item->PlanTxt);
        if (result < 0) continue;
        plan.hits.push_back(result == 1);
        // "period  count注  【group】  中": the count follows the first two spaces.
        const std::size_t gap = item->PlanTxt.find("  ");
        sizes += gap == std::string::npos ? 0 : NumericValue(item->PlanTxt.substr(gap + 2));
    }
    if (!plan.hits.empty()) plan.meanSize = sizes / double(plan.hits.size());
    plan.chance = plan.meanSize / plan.spaceSize;
    return plan;
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
