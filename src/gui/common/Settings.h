#pragma once
// The program's two settings kept between runs: the path of the draw text file in the
// initialisation file (section "网址", key "zelkc") and the transfer delay in the per-user
// settings store (application "分分彩", section "采集", key "延时").
#include <QString>

namespace zuohao::gui {

// The value of key `KeyName` in section `AppName` of the initialisation file `fileName`;
// empty when the file, the section or the key is missing. Long values come back whole.
QString GetFromINI(const QString& AppName, const QString& KeyName, const QString& fileName);

// Stores a value, creating the file and the section when missing and keeping everything
// else in the file. False, with the reason in `why`, when the file cannot be written whole;
// the old file is then unchanged.
bool WriteToINI(const QString& AppName, const QString& KeyName, const QString& value,
                const QString& fileName, QString* why = nullptr);

// The initialisation file of this platform: "C:\zelkwt.ini" on Windows, zelkwt.ini in the
// user's configuration folder elsewhere.
QString DefaultIniPath();
// The initialisation file in use: the one set by SetIniPath (the --ini option), else the
// default one.
QString IniPath();
void SetIniPath(const QString& path);

// The user's own copy of the initialisation file, written when the fixed one cannot be
// (an ordinary user may not create files in C:\): %LOCALAPPDATA%\zuohao\zelkwt.ini on
// Windows; empty elsewhere, where the default file already is the user's own.
QString UserIniPath();

// The file a setting is read from: the user's copy when it exists (it was written because
// `iniPath` could not be), else `iniPath`. An empty `userCopy` means no copy.
QString IniReadPath(const QString& iniPath, const QString& userCopy);

// Where a setting went.
struct IniWriteResult {
    bool ok = false;
    QString path;  // the file written
    QString error; // why it could not be written
};

// Stores a value in `iniPath`; when that fails (or a user copy is already in use, since it
// is read first), in `userCopy`, creating its folder. Never drops a setting silently: the
// result says where it went or that it went nowhere.
IniWriteResult WriteIniWithFallback(const QString& AppName, const QString& KeyName,
                                    const QString& value, const QString& iniPath,
                                    const QString& userCopy);

// The status-line text when settings live in the user's copy.
QString SettingsInUserCopyText(const QString& path);
// The status-line text when the settings could not be stored (the old file is untouched).
QString SettingsNotSavedText(const IniWriteResult& result);

// Section and key of the draw file path.
inline const QString kIniSection = QStringLiteral("网址");
inline const QString kIniKey = QStringLiteral("zelkc");

// The stored delay text ("" when never stored).
QString ReadDelaySetting();
// Stores the delay text; false when the store reports an error.
bool WriteDelaySetting(const QString& text);

// The delay in seconds of a text: its numeric prefix rounded half to even ("7.5" -> 8,
// "2.5" -> 2, "5s" -> 5, "x" and "" -> 0); negative values are kept.
int ParseDelay(const QString& text);

} // namespace zuohao::gui
