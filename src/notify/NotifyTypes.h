#pragma once
// What the notifications are made of: the kinds of target, the events a target can be sent,
// one target's settings and one message as typed data. The text of a message is rendered in
// one place (MessageText.h) and never parsed back.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace zuohao::notify {

enum class TargetKind : std::uint8_t { WeCom, DingTalk, Feishu, Webhook };
inline constexpr int kTargetKinds = 4;

// The kind's name in the settings file and on the command line: wecom, dingtalk, feishu, webhook.
QString kindKey(TargetKind kind);
std::optional<TargetKind> kindFromKey(const QString& key);
// The kind's name in the settings window.
QString kindCaption(TargetKind kind);
// Whether the kind is a group robot that answers with its own success code.
inline bool isRobot(TargetKind kind) {
    return kind != TargetKind::Webhook;
}

// The events a target can be sent, as bits of an EventSet.
enum class Event : std::uint8_t {
    Alarm = 1,       // 告警 raised by the monitor
    FeedTrouble = 2, // the draw feed turned red, and when it recovers
    Gap = 4,         // periods missing among the draws (断期)
    Verdict = 8,     // each plan line scored 中 or 挂
};
using EventSet = std::uint8_t;
inline constexpr EventSet bit(Event e) {
    return EventSet(e);
}
inline constexpr EventSet kDefaultEvents =
    bit(Event::Alarm) | bit(Event::FeedTrouble) | bit(Event::Gap);
// The event's name in the settings file ("alarm", "feed", "gap", "verdict").
QString eventKey(Event e);
inline constexpr Event kEvents[] = {Event::Alarm, Event::FeedTrouble, Event::Gap, Event::Verdict};

// Why a message was not sent or not accepted, as data: the windows and zuohao-cli word it each
// in their own language. Beside it a detail that needs no translating: the robot's result
// code, the seconds waited, or the network library's own description.
enum class SendProblem : std::uint8_t {
    None,
    // No request could be made; nothing was sent.
    NoAddress,
    BadAddress,
    PlainHttpRemote, // http:// to an address that is not this computer or the local network
    NotHttp,         // neither https:// nor http://
    BadMethod,
    // No answer came.
    Timeout, // detail: the seconds waited
    ConnectionRefused,
    HostNotFound,
    ConnectionClosed,
    TlsFailed, // detail: the certificate's problem
    Network,   // detail: the network library's description
    // The target answered and did not accept.
    HttpStatus,     // a status outside 2xx
    NotRobotAnswer, // a robot's answer without its JSON object
    NoResultCode,   // detail: the result code's name the answer lacks
    RobotRefused,   // detail: the result code's name and value, such as "errcode 310000"
};

// One place a message goes to. The url and the secret are secrets: they are kept in the user's
// own settings file only and shown masked.
struct Target {
    QString id; // stable identity across edits
    QString name;
    TargetKind kind = TargetKind::WeCom;
    bool enabled = true;
    QString url;
    QString secret;  // signing secret (钉钉, 飞书); empty when the robot does not sign
    QString keyword; // 钉钉/飞书 custom keyword: a text without it gets it in front
    // The generic webhook's request: method, content type and body template with the fields
    // {lottery} {period} {group} {run} {text}; an empty template sends the text alone.
    QString method = QStringLiteral("POST");
    QString contentType = QStringLiteral("text/plain; charset=utf-8");
    QString bodyTemplate;
    EventSet events = kDefaultEvents;

    bool wants(Event e) const { return (events & bit(e)) != 0; }
    bool operator==(const Target&) const = default;
};

// Plain: a text given as it is (zuohao-cli notify --text).
enum class MessageKind : std::uint8_t {
    Alarm,
    FeedTrouble,
    FeedRecovered,
    Gap,
    Verdict,
    Test,
    Plain
};

// One message, typed. Fields not used by its kind stay empty.
struct Message {
    MessageKind kind = MessageKind::Test;
    QString lottery;
    QString period;
    QString group;
    QString planLine; // the alarm's plan line, or the scored plan line
    int missRun = -1; // the alarm's run of misses
    int baseCount = -1;
    QString detail; // the feed's trouble, the gap, the verdict mark (中/挂), a plain text
    int folded = 0; // earlier alarms this one stands for (merged)
    QStringList earlierPeriods; // their periods, oldest first (those that had one)
    // An alarm of a refresh that entered several draws: every period that raised it, oldest
    // first, `period` the newest of them (empty when only one did).
    QStringList refreshPeriods;

    Event event() const;
};

} // namespace zuohao::notify
