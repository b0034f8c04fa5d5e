#pragma once
// Where the program's events become messages: the intents the program calls (an alarm, the
// draw feed in trouble or well again, a gap, a plan verdict), each sent to every target that
// is on and wants it through that target's own queue, and shown on the desktop when it is an
// alarm or the feed's trouble. Nothing here blocks: every call returns at once.
#include <QList>
#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "notify/Courier.h"
#include "notify/DeliveryLog.h"
#include "notify/NotifyTypes.h"

namespace zuohao::notify {

class Postman;

struct AlarmEvent {
    QString lottery;
    QString period; // the newest period that raised the alarm
    QString group;
    QString planLine;
    int missRun = -1;
    int baseCount = -1;
    QStringList periods; // every period of the refresh that raised it, oldest first
};

class NotificationCenter : public QObject {
    Q_OBJECT
public:
    explicit NotificationCenter(QObject* parent = nullptr);
    ~NotificationCenter() override;

    // The targets (their order is the settings window's); a target's queue survives edits of
    // its settings and goes when the target is removed.
    void setTargets(const QList<Target>& targets);
    QList<Target> targets() const { return m_targets; }
    void setTimes(const DeliveryTimes& times);
    Postman& postman() { return *m_postman; }
    const DeliveryLog& log() const { return m_log; }
    // Keeps the delivery log in `path` (read back now); false, with why, when it cannot.
    bool setLogFile(const QString& path, QString* error = nullptr);
    // Messages waiting or on their way, over all targets.
    int pending() const;

    // ---- Intents ----
    void alarm(const AlarmEvent& e);
    // The feed's state after a poll: a message when it turns bad and when it is well again.
    void feedState(const QString& lottery, bool trouble, const QString& why);
    // The periods missing after a poll (none: the gap is over); a message for each new gap.
    void gapState(const QString& lottery, const std::vector<std::string>& missing,
                  std::size_t missingCount);
    // A plan line scored: `mark` is 中 or 挂.
    void verdict(const QString& lottery, const QString& period, const QString& mark,
                 const QString& planLine);
    // Sends a test message to `t` at once, outside its queue and without retries; the answer
    // comes with testAnswered.
    void sendTest(const Target& t);

signals:
    // A desktop notification: its title and text; `alarm` for an alarm.
    void desktopNotice(const QString& title, const QString& text, bool alarm);
    // A message was given up (for the status line).
    void statusText(const QString& text);
    void logChanged();
    void testAnswered(const QString& targetId, bool accepted, const QString& answer);

private:
    void dispatch(const Message& m);

    QList<Target> m_targets;
    Postman* m_postman;
    DeliveryLog m_log;
    DeliveryTimes m_times;
    std::map<QString, std::unique_ptr<Courier>> m_couriers; // by target id
    std::map<QString, bool> m_feedTrouble;                  // by lottery
    std::map<QString, QString> m_gap;                       // by lottery: the gap told last
};

} // namespace zuohao::notify
