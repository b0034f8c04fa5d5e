#include "notify/NotifySettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

namespace zuohao::notify {

namespace {
constexpr int kVersion = 1;
const QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString closeKey(CloseChoice c) {
    switch (c) {
    case CloseChoice::Tray:
        return QStringLiteral("tray");
    case CloseChoice::Quit:
        return QStringLiteral("quit");
    case CloseChoice::Ask:
        break;
    }
    return QStringLiteral("ask");
}

CloseChoice closeFromKey(const QString& key) {
    if (key == QLatin1String("tray")) return CloseChoice::Tray;
    if (key == QLatin1String("quit")) return CloseChoice::Quit;
    return CloseChoice::Ask;
}

QJsonObject targetJson(const Target& t) {
    QJsonArray events;
    for (Event e : kEvents)
        if (t.wants(e)) events.append(eventKey(e));
    return {{"id", t.id},
            {"name", t.name},
            {"kind", kindKey(t.kind)},
            {"enabled", t.enabled},
            {"url", t.url},
            {"secret", t.secret},
            {"keyword", t.keyword},
            {"method", t.method},
            {"contentType", t.contentType},
            {"bodyTemplate", t.bodyTemplate},
            {"events", events}};
}

std::optional<Target> targetOf(const QJsonObject& o) {
    const auto kind = kindFromKey(o.value(QLatin1String("kind")).toString());
    if (!kind) return std::nullopt;
    Target t = newTarget(*kind);
    auto text = [&o](const char* key, QString* out) {
        if (const QJsonValue v = o.value(QLatin1String(key)); v.isString()) *out = v.toString();
    };
    text("id", &t.id);
    text("name", &t.name);
    text("url", &t.url);
    text("secret", &t.secret);
    text("keyword", &t.keyword);
    text("method", &t.method);
    text("contentType", &t.contentType);
    text("bodyTemplate", &t.bodyTemplate);
    if (t.id.isEmpty()) t.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    t.enabled = o.value(QLatin1String("enabled")).toBool(true);
    if (const QJsonValue v = o.value(QLatin1String("events")); v.isArray()) {
        t.events = 0;
        for (const QJsonValue& e : v.toArray())
            for (Event known : kEvents)
                if (e.toString() == eventKey(known)) t.events |= bit(known);
    }
    return t;
}
} // namespace

QByteArray settingsJson(const NotifySettings& s) {
    QJsonArray targets;
    for (const Target& t : s.targets)
        targets.append(targetJson(t));
    const QJsonObject root{
        {"version", kVersion}, {"onClose", closeKey(s.onClose)}, {"targets", targets}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<NotifySettings> parseSettings(const QByteArray& json, QString* error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject()) {
        if (error) *error = QStringLiteral("不是提醒设置文件：") + parseError.errorString();
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("version")).toInt() != kVersion) {
        if (error) *error = QStringLiteral("提醒设置文件的版本不认识");
        return std::nullopt;
    }
    NotifySettings s;
    s.onClose = closeFromKey(root.value(QLatin1String("onClose")).toString());
    QStringList ids;
    for (const QJsonValue& v : root.value(QLatin1String("targets")).toArray()) {
        auto t = targetOf(v.toObject());
        if (!t) continue;
        // Two targets with one id would share a queue: the second gets an id of its own.
        if (ids.contains(t->id)) t->id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        ids << t->id;
        s.targets.append(*t);
    }
    return s;
}

QString defaultSettingsPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("notify.json"));
}

QString deliveryLogPath(const QString& settingsPath) {
    return QFileInfo(settingsPath).dir().filePath(QStringLiteral("notify-log.txt"));
}

LoadedSettings loadSettings(const QString& path) {
    QFile f(path);
    if (!f.exists()) return {};
    if (!f.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("提醒设置文件无法读取：") + f.errorString()};
    const QByteArray bytes = f.readAll();
    f.close();
    QString why;
    if (auto s = parseSettings(bytes, &why)) return {*s, {}};
    const QString aside = path + QStringLiteral(".bad");
    QFile::remove(aside);
    f.rename(aside);
    return {{}, why + QStringLiteral("（原文件已改名为 %1）").arg(QDir::toNativeSeparators(aside))};
}

bool saveSettings(const NotifySettings& s, const QString& path, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    // Owner-only from the start: the new file is made 0600 before a byte of it is written.
    if (!f.open(QIODevice::WriteOnly) || !f.setPermissions(kOwnerOnly) ||
        f.write(settingsJson(s)) < 0 || !f.commit()) {
        if (error) *error = QStringLiteral("提醒设置无法保存：") + f.errorString();
        f.cancelWriting();
        return false;
    }
    return true;
}

Target newTarget(TargetKind kind) {
    Target t;
    t.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    t.kind = kind;
    t.name = kindCaption(kind);
    return t;
}

} // namespace zuohao::notify
