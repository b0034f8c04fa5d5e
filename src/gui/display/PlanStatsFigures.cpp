#include "gui/display/PlanStatsFigures.h"

#include <QDateTime>

#include "core/acquire/LotteryClass.h"
#include "core/model/Groups.h"
#include "core/model/Text.h"

namespace zuohao::gui {

QString Percent(double share) {
    return QStringLiteral("%1%").arg(100.0 * share, 0, 'f', 1);
}

namespace {
bool scored(const LotteryItem& item) {
    return item.Plan && item.Plan->outcome != PlanOutcome::Running;
}

// The label of the period a line is for, without the "期" its text carries.
std::string_view periodOf(const PlanLine& line) {
    constexpr std::string_view kSuffix = "期";
    std::string_view p = line.period;
    if (p.size() >= kSuffix.size() && p.substr(p.size() - kSuffix.size()) == kSuffix)
        p.remove_suffix(kSuffix.size());
    return p;
}

PlanWatch::Record recordOf(std::uint64_t number, const std::string& start, const std::string& end,
                           const LotteryClass& lottery) {
    PlanWatch::Record r;
    r.number = number;
    r.startQi = start;
    r.endQi = end;
    r.spaceSize = lottery.formSet().fourDigit() ? 10000 : 1000;
    return r;
}
} // namespace

// Period labels of one lottery have one length: compared as texts, as the plan text does.
bool PlanWatch::take(const LotteryClass& lottery, Record& r) const {
    bool changed = false;
    for (const auto& [label, item] : lottery.heldDraws()) {
        if (item->Qishu.compare(r.startQi) < 0) continue; // an earlier plan's line
        if (!r.endQi.empty() && item->Qishu.compare(r.endQi) >= 0) break;
        if (!scored(*item) || item->Qishu.compare(r.lastTaken) <= 0) continue;
        r.tally.add(periodOf(*item->Plan), item->Plan->count,
                    item->Plan->outcome == PlanOutcome::Hit);
        r.lastTaken = item->Qishu;
        changed = true;
    }
    return changed;
}

bool PlanWatch::absorb(const LotteryClass& lottery) {
    bool changed = false;
    if (&lottery != m_lottery) {
        m_lottery = &lottery;
        m_running.reset();
        m_ended.reset();
        changed = true;
    }
    // The plan that ended: the one followed so far, or one only its held draws still tell of.
    const EndedPlan& last = lottery.state().LastPlan;
    if (last.number != 0 && (!m_ended || m_ended->number != last.number)) {
        Record r = m_running && m_running->number == last.number
                       ? std::move(*m_running)
                       : recordOf(last.number, last.startQi, last.endQi, lottery);
        r.endQi = last.endQi;
        take(lottery, r);
        m_ended = std::move(r);
        m_running.reset();
        changed = true;
    }
    if (!lottery.hasPlan()) {
        changed = changed || m_running.has_value();
        m_running.reset();
        return changed;
    }
    if (!m_running || m_running->number != lottery.state().PlanNumber ||
        m_running->startQi != lottery.state().StartPlanQi) {
        m_running = recordOf(lottery.state().PlanNumber, lottery.state().StartPlanQi, {}, lottery);
        changed = true;
    }
    return take(lottery, *m_running) || changed;
}

namespace {
QString row(const QString& a, const QString& av, const QString& b, const QString& bv) {
    return QStringLiteral("<tr><td>%1</td><td align=right><b>%2</b></td><td width=24></td>"
                          "<td>%3</td><td align=right><b>%4</b></td></tr>")
        .arg(a, av, b, bv);
}
} // namespace

QString FiguresHtml(const PlanFigures& f) {
    const PlanRecordStats& s = f.stats;
    QString html = QStringLiteral("<table cellspacing=2>");
    html += row(QStringLiteral("期数"), QString::number(s.periods), QStringLiteral("平均注数"),
                QString::number(f.meanSize, 'f', 1));
    html += row(QStringLiteral("实际命中率"),
                QStringLiteral("%1（%2中）").arg(Percent(s.hitRate())).arg(s.hits),
                QStringLiteral("理论命中率"), Percent(f.chance));
    html += row(QStringLiteral("最长连挂"), QString::number(s.longestMissRun),
                QStringLiteral("理论最长连挂"), QString::number(f.expectedLongest, 'f', 1));
    html += row(QStringLiteral("当前连挂"), QString::number(s.currentMissRun),
                QStringLiteral("%1期内连挂%2期以上的理论机会").arg(s.periods).arg(s.longestMissRun),
                Percent(f.chanceOfLongest));
    html += QStringLiteral("</table>");
    return html;
}

QString RunningPlanHtml(const PlanWatch::Record* running, const PlanFigures* figures) {
    if (!running) return QStringLiteral("当前没有计划在运行（点击“开始缩水”后逐期统计）");
    if (running->tally.periods() == 0) return QStringLiteral("计划进行中，尚无开奖结果");
    const QString head =
        QStringLiteral("计划进行中：%1")
            .arg(RangeText(running->tally.firstPeriod(), running->tally.lastPeriod(),
                           std::size_t(running->tally.periods())));
    return head + (figures ? FiguresHtml(*figures) : QString());
}

QString EndedPlanTitle(const PlanFigures& f) {
    if (f.stats.periods == 0) return QStringLiteral("上一个计划（没有开奖结果）");
    return QStringLiteral("上一个计划（%1 – %2 期）")
        .arg(QString::fromStdString(f.firstPeriod), QString::fromStdString(f.lastPeriod));
}

QString ConditionsSummary(const ConditionSet& c, bool pipeline) {
    static const char* const kSelNames[kSelGroups] = {"号码", "三和尾", "两和尾", "两码差", "和尾"};
    static const char* const kRoutes[4] = {"全0路", "全1路", "全2路", "杀对子"};
    QStringList parts{QString::fromUtf8(GroupName(std::clamp(c.IDX, 0, kGroupCount - 1)))};
    const bool derived = pipeline && c.PLA;
    for (int g = 0; g < kSelGroups; ++g) {
        const std::string& sel = c.SEL[std::size_t(g)];
        if (derived || sel.empty() || c.CNT[std::size_t(g)].empty()) continue;
        parts << QStringLiteral("%1 %2 个数%3")
                     .arg(QString::fromUtf8(kSelNames[g]), QString::fromStdString(sel),
                          QString::fromStdString(c.CNT[std::size_t(g)]));
    }
    for (int b = 0; b < 2; ++b)
        if (!c.DAN[std::size_t(b)].empty())
            parts << QStringLiteral("胆码%1 %2")
                         .arg(b + 1)
                         .arg(QString::fromStdString(c.DAN[std::size_t(b)]));
    if (!c.KUA.empty()) parts << QStringLiteral("杀跨度 %1").arg(QString::fromStdString(c.KUA));
    if (const std::string& kill = c.killList(); !kill.empty())
        parts << QStringLiteral("杀号 %1注").arg(CountNumberList(kill));
    for (int k = 0; k < 4; ++k)
        if (c.KLU[std::size_t(k)] != 0) parts << QString::fromUtf8(kRoutes[k]);
    if (c.FAN) parts << QStringLiteral("反集");
    if (pipeline) {
        int ticked = 0;
        for (bool t : c.CHK)
            ticked += t ? 1 : 0;
        parts << (c.PLA ? QStringLiteral("自动做号（勾选%1列）").arg(ticked)
                        : QStringLiteral("按勾选起始（%1列）").arg(ticked));
    }
    return parts.join(QStringLiteral("，"));
}

QString RangeText(const std::string& first, const std::string& last, std::size_t periods) {
    if (periods == 0) return QStringLiteral("0 期");
    return QStringLiteral("%1 – %2 期，共 %3 期")
        .arg(QString::fromStdString(first), QString::fromStdString(last))
        .arg(periods);
}

QString BasisText(const AnalysisBasis& basis, bool stale) {
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(basis.computedAt.time_since_epoch())
            .count());
    QString text = QStringLiteral("依据：%1｜%2｜%3 计算")
                       .arg(ConditionsSummary(basis.conditions, basis.pipeline),
                            RangeText(basis.firstPeriod, basis.lastPeriod, basis.periods),
                            at.toString(QStringLiteral("HH:mm:ss")));
    if (stale) text += QStringLiteral("｜条件已改变，此结果已过期");
    return text;
}

} // namespace zuohao::gui
