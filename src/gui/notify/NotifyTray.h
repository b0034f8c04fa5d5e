#pragma once
// The program's tray icon: its tooltip tells the lottery, the newest draw and the plan's state;
// its menu opens the main window, the monitor, 历史, 计划统计 and 提醒设置, and quits; it shows
// the desktop notifications (freedesktop notifications on Linux, the toast on Windows), and a
// click on an alarm's notification opens the monitor.
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace zuohao::gui {

class NotifyTray : public QObject {
    Q_OBJECT
public:
    explicit NotifyTray(QObject* parent = nullptr);
    ~NotifyTray() override;

    // Whether the desktop shows tray icons (only then can the program keep running in it).
    bool available() const;
    void setStatus(const QString& tooltip);
    QString status() const;
    // A desktop notification; a click on it opens the monitor for an alarm, else the main window.
    void notify(const QString& title, const QString& text, bool alarm);
    QMenu* menu() const { return m_menu; }
    QSystemTrayIcon* trayIcon() const { return m_icon; }

signals:
    void showMainWindow();
    void showMonitor();
    void showHistory();
    void showPlanStats();
    void showNotifySettings();
    void quitProgram();

private:
    QSystemTrayIcon* m_icon;
    QMenu* m_menu;
    bool m_lastWasAlarm = false;
};

} // namespace zuohao::gui
