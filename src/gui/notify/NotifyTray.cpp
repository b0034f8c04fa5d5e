#include "gui/notify/NotifyTray.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

static void initNotifyResources() {
    Q_INIT_RESOURCE(notify);
}

namespace zuohao::gui {

namespace {
constexpr int kNoticeMs = 15000; // how long a notification stays where the desktop lets it choose
} // namespace

NotifyTray::NotifyTray(QObject* parent)
    : QObject(parent), m_icon(new QSystemTrayIcon(this)), m_menu(new QMenu()) {
    initNotifyResources();
    m_icon->setIcon(QIcon(QStringLiteral(":/notify/zuohao.png")));
    m_icon->setToolTip(QStringLiteral("做号计划"));
    auto add = [this](const char* name, const QString& text, void (NotifyTray::*signal)()) {
        QAction* a = m_menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, signal);
    };
    add("TrayShowMain", QStringLiteral("显示主窗口"), &NotifyTray::showMainWindow);
    add("TrayMonitor", QStringLiteral("监控"), &NotifyTray::showMonitor);
    add("TrayHistory", QStringLiteral("历史"), &NotifyTray::showHistory);
    add("TrayPlanStats", QStringLiteral("计划统计"), &NotifyTray::showPlanStats);
    add("TrayNotifySettings", QStringLiteral("提醒设置"), &NotifyTray::showNotifySettings);
    m_menu->addSeparator();
    add("TrayQuit", QStringLiteral("退出"), &NotifyTray::quitProgram);
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick)
            emit showMainWindow();
    });
    connect(m_icon, &QSystemTrayIcon::messageClicked, this, [this] {
        if (m_lastWasAlarm)
            emit showMonitor();
        else
            emit showMainWindow();
    });
    // Shown where the desktop has a tray (an offscreen or bare X server has none); one that
    // appears later is found at the next status.
    if (available()) m_icon->show();
}

NotifyTray::~NotifyTray() {
    delete m_menu; // a menu without a parent widget
}

bool NotifyTray::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void NotifyTray::setStatus(const QString& tooltip) {
    m_icon->setToolTip(tooltip);
    if (!m_icon->isVisible() && available()) m_icon->show();
}

QString NotifyTray::status() const {
    return m_icon->toolTip();
}

void NotifyTray::notify(const QString& title, const QString& text, bool alarm) {
    m_lastWasAlarm = alarm;
    m_icon->showMessage(title, text,
                        alarm ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information, kNoticeMs);
}

} // namespace zuohao::gui
