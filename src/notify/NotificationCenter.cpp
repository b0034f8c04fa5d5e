#include "notify/NotificationCenter.h"

#include "notify/MessageText.h"
#include "notify/Postman.h"

namespace zuohao::notify {

namespace {
QString gapText(const std::vector<std::string>& missing, std::size_t missingCount) {
    QStringList labels;
    for (const std::string& m : missing)
        labels << QString::fromStdString(m) + QStringLiteral("期");
    QString t = QStringLiteral("缺 ") + labels.join(QStringLiteral("、"));
    if (missingCount > missing.size()) t += QStringLiteral(" 等 %1 期").arg(missingCount);
    return t;
}
} // namespace

NotificationCenter::NotificationCenter(QObject* parent)
    : QObject(parent), m_postman(new Postman(this)) {}

NotificationCenter::~NotificationCenter() = default;

void NotificationCenter::setTargets(const QList<Target>& targets) {
    m_targets = targets;
    std::map<QString, std::unique_ptr<Courier>> kept;
    for (const Target& t : targets) {
        auto it = m_couriers.find(t.id);
        if (it != m_couriers.end()) {
            it->second->setTarget(t);
            kept[t.id] = std::move(it->second);
            continue;
        }
        auto courier = std::make_unique<Courier>(t, *m_postman, m_log, m_times, this);
        connect(courier.get(), &Courier::logged, this, &NotificationCenter::logChanged);
        connect(courier.get(), &Courier::gaveUp, this,
                [this](const QString& name, const QString& reason) {
                    emit statusText(QStringLiteral("提醒未送达【%1】：%2").arg(name, reason));
                });
        kept[t.id] = std::move(courier);
    }
    m_couriers = std::move(kept);
}

bool NotificationCenter::setLogFile(const QString& path, QString* error) {
    const bool kept = m_log.setFile(path, error);
    emit logChanged();
    return kept;
}

void NotificationCenter::setTimes(const DeliveryTimes& times) {
    m_times = times;
    for (auto& [id, courier] : m_couriers)
        courier->setTimes(times);
}

int NotificationCenter::pending() const {
    int n = 0;
    for (const auto& [id, courier] : m_couriers)
        n += courier->pending();
    return n;
}

void NotificationCenter::dispatch(const Message& m) {
    for (const Target& t : m_targets) {
        if (!t.enabled || !t.wants(m.event())) continue;
        if (auto it = m_couriers.find(t.id); it != m_couriers.end()) it->second->submit(m);
    }
}

void NotificationCenter::alarm(const AlarmEvent& e) {
    Message m;
    m.kind = MessageKind::Alarm;
    m.lottery = e.lottery;
    m.period = e.period;
    if (e.periods.size() > 1) m.refreshPeriods = e.periods;
    m.group = e.group;
    m.planLine = e.planLine;
    m.missRun = e.missRun;
    m.baseCount = e.baseCount;
    dispatch(m);
    emit desktopNotice(messageTitle(m), messageText(m), true);
}

void NotificationCenter::feedState(const QString& lottery, bool trouble, const QString& why) {
    bool& was = m_feedTrouble[lottery];
    if (was == trouble) return;
    was = trouble;
    Message m;
    m.kind = trouble ? MessageKind::FeedTrouble : MessageKind::FeedRecovered;
    m.lottery = lottery;
    m.detail = why;
    dispatch(m);
    emit desktopNotice(messageTitle(m), messageText(m), false);
}

void NotificationCenter::gapState(const QString& lottery, const std::vector<std::string>& missing,
                                  std::size_t missingCount) {
    QString& told = m_gap[lottery];
    const QString text = missingCount ? gapText(missing, missingCount) : QString();
    if (text == told) return;
    told = text;
    if (text.isEmpty()) return;
    Message m;
    m.kind = MessageKind::Gap;
    m.lottery = lottery;
    m.detail = text;
    dispatch(m);
}

void NotificationCenter::verdict(const QString& lottery, const QString& period, const QString& mark,
                                 const QString& planLine) {
    Message m;
    m.kind = MessageKind::Verdict;
    m.lottery = lottery;
    m.period = period;
    m.detail = mark;
    m.planLine = planLine;
    dispatch(m);
}

void NotificationCenter::sendTest(const Target& t) {
    Message m;
    m.kind = MessageKind::Test;
    const QString id = t.id;
    m_postman->send(t, m, m_times.attemptLimit, this, [this, id](const AttemptResult& r) {
        emit testAnswered(id, r.accepted, r.answerText());
    });
}

} // namespace zuohao::notify
