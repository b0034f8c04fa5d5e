#pragma once
// The places where the program meets the desktop and the outside world: message boxes,
// the open-file dialog, the clipboard, the alarm sound and the time service. Tests install
// their own Seams to answer dialogs and to see what was asked for.
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace zuohao::gui {

class Seams {
public:
    virtual ~Seams() = default;

    // An information message box (modal).
    virtual void information(QWidget* parent, const QString& text);
    // The open-file dialog of the draw file, text files offered first, starting at
    // `startPath` (see OpenDialogStart); the chosen path with the system's separators,
    // nothing when cancelled.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& startPath);
    // The save-file dialog, starting at `suggestedName`; nothing when cancelled.
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& suggestedName);
    // The clipboard as plain text: an empty or non-text clipboard gives an empty text;
    // nothing when the clipboard cannot be read.
    virtual std::optional<QString> clipboardText();
    // Replaces the clipboard with a plain text; false when it cannot be written.
    virtual bool setClipboardText(const QString& text);
    // The alarm sound: asynchronous, a new sound cuts one still playing.
    virtual void playAlarm();
};

// Where the open-file dialog starts for the draw file `currentPath` (either separator): at
// the file itself when it exists, in its folder when only that exists, otherwise in the
// user's documents (never the program's own folder).
QString OpenDialogStart(const QString& currentPath);

// What the desktop seams play as the alarm (the shell registers the alarm sound).
void setAlarmPlayer(std::function<void()> player);

// The seams in force (the desktop ones unless a test installed others).
Seams& seams();
// Installs other seams (not owned); nullptr restores the desktop ones.
void setSeams(Seams* seams);

} // namespace zuohao::gui
