#include "gui/common/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <limits>
#include <memory>

#include "core/model/Text.h"
#include "gui/common/IniFile.h"

namespace zuohao::gui {

QString GetFromINI(const QString& AppName, const QString& KeyName, const QString& fileName) {
    const auto ini = IniFile::load(fileName);
    if (!ini) return {};
    return ini->value(AppName, KeyName).value_or(QString());
}

bool WriteToINI(const QString& AppName, const QString& KeyName, const QString& value,
                const QString& fileName, QString* why) {
    // An existing file that cannot be read is left alone rather than replaced.
    auto ini = IniFile::load(fileName);
    if (!ini) {
        if (why) *why = QStringLiteral("读不出原文件");
        return false;
    }
    ini->setValue(AppName, KeyName, value);
    return ini->save(fileName, why);
}

QString DefaultIniPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\zelkwt.ini");
#else
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(dir).filePath(QStringLiteral("zelkwt.ini"));
#endif
}

namespace {
QString g_iniPath;
} // namespace

QString UserIniPath() {
#ifdef Q_OS_WIN
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(local).filePath(QStringLiteral("zuohao/zelkwt.ini"));
#else
    return {};
#endif
}

QString IniReadPath(const QString& iniPath, const QString& userCopy) {
    if (!userCopy.isEmpty() && QFileInfo::exists(userCopy)) return userCopy;
    return iniPath;
}

IniWriteResult WriteIniWithFallback(const QString& AppName, const QString& KeyName,
                                    const QString& value, const QString& iniPath,
                                    const QString& userCopy) {
    const bool copyInUse = !userCopy.isEmpty() && QFileInfo::exists(userCopy);
    QString why;
    if (!copyInUse && WriteToINI(AppName, KeyName, value, iniPath, &why))
        return {true, iniPath, {}};
    if (userCopy.isEmpty()) return {false, iniPath, why};
    QDir().mkpath(QFileInfo(userCopy).absolutePath());
    if (WriteToINI(AppName, KeyName, value, userCopy, &why)) return {true, userCopy, {}};
    return {false, userCopy, why};
}

QString SettingsNotSavedText(const IniWriteResult& result) {
    QString text = QStringLiteral("设置文件无法保存，原文件未改动");
    if (!result.error.isEmpty()) text += QStringLiteral("：") + result.error;
    return text;
}

QString SettingsInUserCopyText(const QString& path) {
    return QStringLiteral("设置保存在 %1（C:\\ 不可写入）").arg(QDir::toNativeSeparators(path));
}

QString IniPath() {
    return g_iniPath.isEmpty() ? DefaultIniPath() : g_iniPath;
}
void SetIniPath(const QString& path) {
    g_iniPath = path;
}

namespace {

const QString kDelayApp = QStringLiteral("分分彩");
const QString kDelaySection = QStringLiteral("采集");
const QString kDelayKey = QStringLiteral("延时");

// The per-user store of the delay. On Windows it is the registry key the program has
// always used, so a delay stored by an earlier version is found.
QSettings* delayStore() {
#ifdef Q_OS_WIN
    return new QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program "
                                        "Settings\\") +
                             kDelayApp,
                         QSettings::NativeFormat);
#else
    return new QSettings(kDelayApp, kDelayApp);
#endif
}

} // namespace

QString ReadDelaySetting() {
    std::unique_ptr<QSettings> s(delayStore());
    s->beginGroup(kDelaySection);
    return s->value(kDelayKey).toString();
}

bool WriteDelaySetting(const QString& text) {
    std::unique_ptr<QSettings> s(delayStore());
    s->beginGroup(kDelaySection);
    s->setValue(kDelayKey, text);
    s->endGroup();
    s->sync();
    return s->status() == QSettings::NoError;
}

int ParseDelay(const QString& text) {
    const double v = zuohao::NumericValue(text.toStdString());
    // Values past the range of a whole number are held at its ends.
    if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(zuohao::RoundHalfEven(v));
}

} // namespace zuohao::gui
