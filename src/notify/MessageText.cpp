#include "notify/MessageText.h"

#include <QStringList>

#include <algorithm>

namespace zuohao::notify {

namespace {
// "：第a期、第b期" for the earlier periods an alarm stands for; empty without them.
QString earlier(const Message& m) {
    QStringList labels;
    for (const QString& p : m.earlierPeriods)
        labels << QStringLiteral("第%1期").arg(p);
    return labels.isEmpty() ? QString() : QStringLiteral("：") + labels.join(QStringLiteral("、"));
}

// "第a期" for one period; "第a、b、c期，3 次告警" for a refresh whose draws raised several.
QString periodsOf(const Message& m) {
    if (m.refreshPeriods.size() < 2) return QStringLiteral("第%1期").arg(m.period);
    return QStringLiteral("第%1期，%2 次告警")
        .arg(m.refreshPeriods.join(QStringLiteral("、")))
        .arg(m.refreshPeriods.size());
}

QString alarmText(const Message& m) {
    QString t = QStringLiteral("【告警】%1 ").arg(m.lottery) + periodsOf(m);
    QStringList parts;
    if (m.missRun >= 0) parts << QStringLiteral("连挂 %1 期").arg(m.missRun);
    if (m.baseCount >= 0) parts << QStringLiteral("大底 %1 注").arg(m.baseCount);
    if (!m.planLine.isEmpty()) parts << m.planLine;
    if (!m.group.isEmpty()) t += QLatin1Char(' ') + m.group;
    if (!parts.isEmpty()) t += QStringLiteral("：") + parts.join(QStringLiteral("，"));
    if (m.folded > 0) t += QStringLiteral("（合并此前 %1 次告警%2）").arg(m.folded).arg(earlier(m));
    return t;
}
} // namespace

Message mergedAlarm(const Message& owed, Message newer) {
    QStringList periods = owed.earlierPeriods;
    if (!owed.refreshPeriods.isEmpty())
        periods << owed.refreshPeriods;
    else if (!owed.period.isEmpty())
        periods << owed.period;
    newer.earlierPeriods = periods + newer.earlierPeriods;
    newer.folded += owed.folded + std::max<int>(1, int(owed.refreshPeriods.size()));
    return newer;
}

QString messageSummary(const Message& m) {
    QString s = messageTitle(m);
    if (!m.lottery.isEmpty()) s += QLatin1Char(' ') + m.lottery;
    if (!m.period.isEmpty())
        s += QLatin1Char(' ') +
             (m.kind == MessageKind::Alarm ? periodsOf(m) : QStringLiteral("第%1期").arg(m.period));
    if (m.folded > 0)
        s += QStringLiteral("（合并 %1 次%2）")
                 .arg(m.folded + std::max<int>(1, int(m.refreshPeriods.size())))
                 .arg(earlier(m));
    return s;
}

QString messageTitle(const Message& m) {
    switch (m.kind) {
    case MessageKind::Alarm:
        return QStringLiteral("告警");
    case MessageKind::FeedTrouble:
        return QStringLiteral("开奖源异常");
    case MessageKind::FeedRecovered:
        return QStringLiteral("开奖源恢复");
    case MessageKind::Gap:
        return QStringLiteral("断期");
    case MessageKind::Verdict:
        return QStringLiteral("计划");
    case MessageKind::Plain:
        return QStringLiteral("消息");
    case MessageKind::Test:
        break;
    }
    return QStringLiteral("测试");
}

QString messageText(const Message& m) {
    const QString head = QStringLiteral("【") + messageTitle(m) + QStringLiteral("】");
    switch (m.kind) {
    case MessageKind::Alarm:
        return alarmText(m);
    case MessageKind::FeedTrouble:
        return head + m.lottery + QStringLiteral("：") + m.detail;
    case MessageKind::FeedRecovered:
        return head + m.lottery + QStringLiteral("：开奖文件又读到开奖号码了");
    case MessageKind::Gap:
        return head + m.lottery + QStringLiteral("：") + m.detail;
    case MessageKind::Verdict:
        return head +
               QStringLiteral("%1 第%2期 %3：%4").arg(m.lottery, m.period, m.detail, m.planLine);
    case MessageKind::Plain:
        return m.detail;
    case MessageKind::Test:
        break;
    }
    return head + QStringLiteral("做号计划的提醒：") +
           (m.detail.isEmpty() ? QStringLiteral("收到这条消息，说明这个目标设置正确") : m.detail);
}

std::optional<QString> fieldValue(const Message& m, const QString& name) {
    if (name == QLatin1String("lottery")) return m.lottery;
    if (name == QLatin1String("period")) return m.period;
    if (name == QLatin1String("group")) return m.group;
    if (name == QLatin1String("run"))
        return m.missRun >= 0 ? QString::number(m.missRun) : QString();
    if (name == QLatin1String("text")) return messageText(m);
    return std::nullopt;
}

} // namespace zuohao::notify
