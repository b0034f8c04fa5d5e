#pragma once
// The main window's link to the notifications: the one place where the program's events (the
// monitor's alarm, the draw feed's state after each refresh, a gap, each scored plan line) are
// handed to the notification center, the tray icon is wired to the windows, and closing the
// main window may keep the program running in the tray.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/acquire/RefreshEvents.h"
#include "notify/NotifySettings.h"

namespace zuohao {
class LotteryClass;
}
namespace zuohao::notify {
class NotificationCenter;
}

namespace zuohao::gui {

class LotteryForm;
class NotifySettingsWindow;
class NotifyTray;

class NotifyLink : public QObject {
    Q_OBJECT
public:
    // Reads the user's notification settings (or `settingsPath` when given) and shows the tray
    // icon.
    explicit NotifyLink(LotteryForm& form, const QString& settingsPath = {});
    ~NotifyLink() override;

    notify::NotificationCenter& center() { return *m_center; }
    NotifyTray* tray() const { return m_tray; }
    const notify::NotifySettings& settings() const { return m_settings; }
    // 提醒设置, made on first use.
    NotifySettingsWindow* settingsWindow();
    void showSettings();

    // Closing the main window: true when the program keeps running in the tray (the window is
    // then only hidden). Asked once while unanswered; the answer is kept.
    bool keepRunningOnClose();
    // Quits as the tray's 退出 does: the main window closes and the program ends.
    void quitProgram();
    // Answers the close question instead of a message box (tests): true keep running in the
    // tray, false quit, nothing for a question dismissed.
    void setCloseAsker(std::function<std::optional<bool>()> asker) { m_asker = std::move(asker); }
    // Whether the desktop shows a tray icon, as tests have it (by default the desktop says).
    void setTrayAvailable(bool shown) { m_trayShown = shown; }

    // A refresh of `lottery`, first of all its subscribers: one message naming every period
    // that raised the monitor's alarm, then one per plan line scored.
    void tell(const LotteryClass& lottery, const RefreshEvents& events);
    // Called after every refresh: the feed's state, a gap, the tray's tooltip.
    void refreshed();

private:
    void wireTray();
    void saveSettings();
    QString trayStatus() const;
    std::optional<bool> askKeepRunning();

    LotteryForm& m_form;
    notify::NotificationCenter* m_center;
    NotifyTray* m_tray;
    notify::NotifySettings m_settings;
    QString m_path;
    QString m_problem; // the settings file could not be used
    std::unique_ptr<NotifySettingsWindow> m_window;
    std::function<std::optional<bool>()> m_asker;
    std::optional<bool> m_trayShown;
    bool m_quitting = false;
    bool m_toldInTray = false;
};

} // namespace zuohao::gui
