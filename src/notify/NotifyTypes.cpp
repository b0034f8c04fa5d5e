#include "notify/NotifyTypes.h"

namespace zuohao::notify {

namespace {
struct KindNames {
    TargetKind kind;
    const char* key;
    const char* caption;
};
constexpr KindNames kKindNames[kTargetKinds] = {
    {TargetKind::WeCom, "wecom", "企业微信群机器人"},
    {TargetKind::DingTalk, "dingtalk", "钉钉群机器人"},
    {TargetKind::Feishu, "feishu", "飞书群机器人"},
    {TargetKind::Webhook, "webhook", "通用 Webhook"},
};
} // namespace

QString kindKey(TargetKind kind) {
    return QString::fromLatin1(kKindNames[int(kind)].key);
}

std::optional<TargetKind> kindFromKey(const QString& key) {
    for (const KindNames& k : kKindNames)
        if (key == QLatin1String(k.key)) return k.kind;
    return std::nullopt;
}

QString kindCaption(TargetKind kind) {
    return QString::fromUtf8(kKindNames[int(kind)].caption);
}

QString eventKey(Event e) {
    switch (e) {
    case Event::Alarm:
        return QStringLiteral("alarm");
    case Event::FeedTrouble:
        return QStringLiteral("feed");
    case Event::Gap:
        return QStringLiteral("gap");
    case Event::Verdict:
        return QStringLiteral("verdict");
    }
    return {};
}

Event Message::event() const {
    switch (kind) {
    case MessageKind::FeedTrouble:
    case MessageKind::FeedRecovered:
        return Event::FeedTrouble;
    case MessageKind::Gap:
        return Event::Gap;
    case MessageKind::Verdict:
        return Event::Verdict;
    case MessageKind::Alarm:
    case MessageKind::Test:
    case MessageKind::Plain:
        break;
    }
    return Event::Alarm;
}

} // namespace zuohao::notify
