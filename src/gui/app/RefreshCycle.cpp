// The refresh cycle: every 6 seconds the active lottery is asked for new draws (or, without
// history, for its history), after the server time has been requested.
#include <QApplication>
#include <QTimer>

#include "gui/acquire/ServerTime.h"
#include "gui/app/LotteryForm.h"
#include "gui/display/HistoryGrid.h"
#include "gui/display/PlanDisplay.h"
#include "gui/making/MakingPanel.h"
#include "gui/monitor/JianKongForm.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zuohao::gui {

void LotteryForm::GetNewTimer_Timer() {
    // The tick lets pending events run, so a second tick could start inside the first: it
    // is held back and runs as soon as the first has ended.
    if (m_tickRunning) {
        m_tickPending = true;
        return;
    }
    m_tickRunning = true;
    runTick();
    m_tickRunning = false;
    if (m_tickPending) {
        m_tickPending = false;
        QTimer::singleShot(0, this, &LotteryForm::GetNewTimer_Timer);
    }
}

void LotteryForm::runTick() {
    ShowLabelTxt(QStringLiteral("正在获取最新数据......"));
    QApplication::processEvents();
    QString error;
    // Each step reads the active lottery afresh: the user may switch during the wait.
    if (m_form.ActiveCls->IsGetHis) {
        auto time = m_time->RequestServerTime();
        if (!time)
            error = QString::fromStdString(time.error());
        else
            m_form.ActiveCls->GetLotteryNew();
    } else {
        // From the timer the file dialog is never opened: the status line says why.
        m_form.ActiveCls->GetLotteryHisroty(AskForFile::No);
    }
    if (!error.isEmpty())
        showRefreshStatus(QStringLiteral("产生错误:") + error);
    else
        showRefreshStatus(QStringLiteral("最后刷新:  ") +
                          TimeService::StatusTime(m_time->serverTime()));
}

void LotteryForm::showRefreshStatus(const QString& text) {
    const FeedStatus& feed = m_form.ActiveCls->feedStatus();
    const QString notice = QString::fromStdString(feed.notice);
    m_showLabel->setStyleSheet(feed.alarm ? QStringLiteral("color: #C00000; font-weight: bold;")
                                          : QString());
    m_fileLink->setVisible(feed.alarm);
    ShowLabelTxt(notice.isEmpty() ? text : text + QStringLiteral("  ") + notice);
}

void LotteryForm::RedrawPlanDisplay() {
    // The block titles carry the caption of the position option shown.
    const int w = m_form.CurWei;
    const QString plan = zuohao::gui::RedrawPlanDisplay(
        *m_grid, *m_form.ActiveCls,
        PlanDisplayOptions{w, m_panel->weiCaption(w), m_form.KillTextBusy});
    m_panel->PlanText->setPlainText(plan);
    m_jianKong->Kasi();
}

void LotteryForm::JianKongCmd_Click() {
    m_jianKong->Kasi();
    m_jianKong->show();
    m_jianKong->raise();
}

} // namespace zuohao::gui
