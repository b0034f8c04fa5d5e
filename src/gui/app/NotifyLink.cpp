#include "gui/app/NotifyLink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/PlanRecord.h"
#include "core/model/Captions.h"
#include "core/model/Groups.h"
#include "core/model/Text.h"
#include "gui/app/LotteryForm.h"
#include "gui/common/LastingNote.h"
#include "gui/common/QtText.h"
#include "gui/common/WorkGate.h"
#include "gui/monitor/JianKongForm.h"
#include "gui/notify/NotifySettingsWindow.h"
#include "gui/notify/NotifyTray.h"
#include "notify/NotificationCenter.h"

namespace zuohao::gui {

using namespace zuohao::notify;

namespace {
QString groupName(int idx) {
    if (idx < 0 || idx >= kGroupCount) return {};
    return toQ(std::string(GroupName(idx)));
}

// Clicks a button of the main window by its name (the windows it opens belong to the shell).
void clickButton(LotteryForm& form, const char* name) {
    if (auto* b = form.findChild<QPushButton*>(QString::fromLatin1(name))) b->click();
}
} // namespace

NotifyLink::NotifyLink(LotteryForm& form, const QString& settingsPath)
    : QObject(&form), m_form(form), m_center(new NotificationCenter(this)),
      m_tray(new NotifyTray(this)),
      m_path(settingsPath.isEmpty() ? defaultSettingsPath() : settingsPath) {
    LoadedSettings loaded = loadSettings(m_path);
    m_settings = loaded.settings;
    m_problem = loaded.problem;
    // The player reads why the file was set aside before the next status text replaces it.
    if (!m_problem.isEmpty()) m_form.lastingNote()->showNote(m_problem);
    m_center->setTargets(m_settings.targets);
    if (QString error; !m_center->setLogFile(deliveryLogPath(m_path), &error))
        m_form.ShowLabelTxt(error);
    // With a tray icon the program may live on with no window shown; it ends by 退出 or by
    // closing the main window when it does not go to the tray.
    if (m_tray->available()) QApplication::setQuitOnLastWindowClosed(false);
    connect(m_center, &NotificationCenter::desktopNotice, m_tray, &NotifyTray::notify);
    connect(m_center, &NotificationCenter::statusText, &form, &LotteryForm::ShowLabelTxt);
    connect(&form, &LotteryForm::refreshShown, this, &NotifyLink::refreshed);
    JianKongForm* monitor = form.jianKongForm();
    connect(monitor, &JianKongForm::notifySettingsRequested, this, &NotifyLink::showSettings);
    wireTray();
    m_tray->setStatus(trayStatus());
}

NotifyLink::~NotifyLink() = default;

void NotifyLink::wireTray() {
    connect(m_tray, &NotifyTray::showMainWindow, this, [this] {
        m_form.showNormal();
        m_form.raise();
        m_form.activateWindow();
    });
    connect(m_tray, &NotifyTray::showMonitor, &m_form, &LotteryForm::JianKongCmd_Click);
    connect(m_tray, &NotifyTray::showHistory, this, [this] { clickButton(m_form, "HistoryCmd"); });
    connect(m_tray, &NotifyTray::showPlanStats, this,
            [this] { clickButton(m_form, "PlanStatsCmd"); });
    connect(m_tray, &NotifyTray::showNotifySettings, this, &NotifyLink::showSettings);
    connect(m_tray, &NotifyTray::quitProgram, this, &NotifyLink::quitProgram);
}

NotifySettingsWindow* NotifyLink::settingsWindow() {
    if (!m_window) {
        m_window = std::make_unique<NotifySettingsWindow>(*m_center, m_settings, m_path);
        m_window->showProblem(m_problem);
        connect(m_window.get(), &NotifySettingsWindow::settingsChanged, this,
                [this](const NotifySettings& s) { m_settings = s; });
    }
    return m_window.get();
}

void NotifyLink::showSettings() {
    NotifySettingsWindow* w = settingsWindow();
    w->show();
    w->raise();
    w->activateWindow();
}

void NotifyLink::saveSettings() {
    QString error;
    if (!notify::saveSettings(m_settings, m_path, &error)) m_form.ShowLabelTxt(error);
    if (m_window) m_window->setSettings(m_settings);
}

// ---- Closing ---------------------------------------------------------------------------

std::optional<bool> NotifyLink::askKeepRunning() {
    if (m_asker) return m_asker();
    WorkGate::Hold modal; // no timer work inside the box's event loop
    QMessageBox box(QMessageBox::Question, QStringLiteral("做号计划"),
                    QStringLiteral("关闭主窗口后，程序可以在系统托盘里继续运行：照常读取开奖、"
                                   "监控和发送提醒。\n\n这个选择会记住，可在【提醒设置】里更改。"),
                    QMessageBox::NoButton, &m_form);
    QPushButton* tray = box.addButton(QStringLiteral("保留在托盘"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("退出程序"), QMessageBox::DestructiveRole);
    box.setDefaultButton(tray);
    box.exec();
    if (!box.clickedButton()) return std::nullopt;
    return box.clickedButton() == tray;
}

bool NotifyLink::keepRunningOnClose() {
    if (m_quitting || !m_trayShown.value_or(m_tray->available())) return false;
    if (m_settings.onClose == CloseChoice::Ask) {
        const std::optional<bool> answer = askKeepRunning();
        // Dismissed: nothing is stopped, and the question comes again next time.
        if (!answer) return true;
        m_settings.onClose = *answer ? CloseChoice::Tray : CloseChoice::Quit;
        saveSettings();
    }
    if (m_settings.onClose != CloseChoice::Tray) return false;
    if (!m_toldInTray) {
        m_toldInTray = true;
        m_tray->notify(QStringLiteral("做号计划"),
                       QStringLiteral("程序在托盘中继续运行；右键托盘图标可打开窗口或退出"), false);
    }
    return true;
}

void NotifyLink::quitProgram() {
    m_quitting = true;
    m_form.close();
}

// ---- Events ----------------------------------------------------------------------------

void NotifyLink::tell(const LotteryClass& lottery, const RefreshEvents& events) {
    const QString name = toQ(lottery.name());
    // Draws entered together: one message names every period that raised the alarm, the
    // newest with its run of misses.
    if (!events.alarms.empty()) {
        const AlarmRaised& newest = events.alarms.back();
        AlarmEvent e;
        e.lottery = name;
        for (const AlarmRaised& a : events.alarms)
            e.periods << toQ(a.period);
        e.period = toQ(newest.period);
        e.missRun = newest.missRun;
        e.group = groupName(newest.group);
        e.planLine = toQ(events.alarmPlan.caption);
        e.baseCount = int(events.alarmPlan.baseCount);
        m_center->alarm(e);
    }
    for (const PlanScored& s : events.scored)
        m_center->verdict(name, toQ(s.period),
                          s.line.outcome == PlanOutcome::Hit ? QStringLiteral("中")
                                                             : QStringLiteral("挂"),
                          toQ(PlanLineText(s.line)));
}

void NotifyLink::refreshed() {
    // Every lottery's feed, whichever is shown: each message names its lottery.
    for (int i = 0; i < m_form.lotteryCount(); ++i) {
        const LotteryClass& lot = m_form.Lotteries(i);
        const FeedStatus& feed = lot.feedStatus();
        const QString name = toQ(lot.name());
        m_center->feedState(name, feed.alarm, toQ(feed.notice));
        m_center->gapState(name, feed.missing, feed.missingCount);
    }
    m_tray->setStatus(trayStatus());
}

QString NotifyLink::trayStatus() const {
    const LotteryClass* lot = m_form.ActiveCls();
    if (!lot) return QStringLiteral("做号计划");
    QString t = QStringLiteral("做号计划 · ") + toQ(lot->name());
    if (lot->newestDraw())
        t += QStringLiteral("\n最新：%1期 %2")
                 .arg(toQ(lot->newestDraw()->Qishu), toQ(lot->newestDraw()->Haoma));
    if (!lot->hasPlan()) return t + QStringLiteral("\n计划：未开始");
    std::vector<bool> hits;
    for (const auto& [label, item] : lot->heldDraws())
        if (item->Plan && item->Plan->outcome != PlanOutcome::Running)
            hits.push_back(item->Plan->outcome == PlanOutcome::Hit);
    return t + QStringLiteral("\n计划：进行中，当前连挂 %1").arg(PlanStatsOf(hits).currentMissRun);
}

} // namespace zuohao::gui
