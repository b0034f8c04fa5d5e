#pragma once
// The notification settings: the targets and what closing the main window does. They live in
// the program's own per-user file (notify.json in its configuration folder), never in the
// settings file other programs share, because the targets' addresses and signing secrets are
// secrets: the file is replaced in one step and, on Linux, readable by its owner only (0600).
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "notify/NotifyTypes.h"

namespace zuohao::notify {

// What closing the main window does while a tray icon can be shown.
enum class CloseChoice : std::uint8_t { Ask, Tray, Quit };

struct NotifySettings {
    QList<Target> targets;
    CloseChoice onClose = CloseChoice::Ask;
    bool operator==(const NotifySettings&) const = default;
};

// The settings as the file holds them (JSON).
QByteArray settingsJson(const NotifySettings& s);
// The settings of a file's bytes; nothing (and why) when they are not such a file. Targets
// without an id get a new one; unknown kinds and events are left out.
std::optional<NotifySettings> parseSettings(const QByteArray& json, QString* error = nullptr);

// notify.json in the program's configuration folder.
QString defaultSettingsPath();
// The delivery log's file beside the settings file `settingsPath`: notify-log.txt.
QString deliveryLogPath(const QString& settingsPath);

struct [[nodiscard]] LoadedSettings {
    NotifySettings settings; // empty when the file is missing or unusable
    QString problem;         // why the file could not be used (it was set aside), else empty
};
// Reads the file. A missing file gives empty settings; one that cannot be read as settings is
// renamed to notify.json.bad (so that the next save does not lose it) and says so.
LoadedSettings loadSettings(const QString& path);
// Writes the file by replacing it in one step, owner-only; false (and why) when it cannot.
bool saveSettings(const NotifySettings& s, const QString& path, QString* error = nullptr);

// A new target of a kind, with a fresh id and the kind's name.
Target newTarget(TargetKind kind);

} // namespace zuohao::notify
