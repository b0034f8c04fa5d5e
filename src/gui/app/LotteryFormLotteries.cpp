// The main window's part in the list of lotteries: 彩票设置, a typed draw file, and the calls
// the window hands on to its managers.
#include <QLineEdit>

#include "gui/app/LotteryForm.h"
#include "gui/app/RefreshCycle.h"
#include "gui/app/TransferCountdown.h"
#include "gui/app/WorkKeeper.h"
#include "gui/common/WindowPlacement.h"
#include "gui/lotteries/LotterySettingsWindow.h"
#include "gui/monitor/JianKongForm.h"

namespace zuohao::gui {

LotterySettingsWindow* LotteryForm::lotterySettings() {
    if (!m_lotterySettings) {
        m_lotterySettings = new LotterySettingsWindow(m_desk->registry(), this);
        PlaceOver(m_lotterySettings, QStringLiteral("lotteries"), this);
        connect(m_lotterySettings, &LotterySettingsWindow::registryChanged, this,
                &LotteryForm::applyLotteryList);
    }
    return m_lotterySettings;
}

void LotteryForm::showLotterySettings() {
    LotterySettingsWindow* w = lotterySettings();
    // A file chosen on a tab since the window was last shown is there too.
    if (!(w->registry() == m_desk->registry())) w->setRegistry(m_desk->registry());
    w->show();
    w->raise();
    w->activateWindow();
}

void LotteryForm::applyLotteryList(const LotteryRegistry& registry) {
    const LotteryClass* shown = m_form.ActiveCls;
    const LotteryDesk::ListChange change = m_desk->apply(registry);
    // From here the lotteries removed are gone: nothing may use the old active lottery.
    for (const auto& [oldName, newName] : change.renamed)
        m_work->renamed(oldName, newName);
    for (const std::string& name : change.removed)
        m_work->removed(name);
    m_cycle->forgetNotes();
    for (int i : change.added)
        m_jianKong->startMonitor(Lotteries(i));
    m_jianKong->lotteriesChanged();
    BuildLotteryMenu();
    const int active = m_desk->indexOf(shown);
    m_selectedIndex = -1;
    m_form.ActiveCls = nullptr;
    MenuItemLabel_Click(active < 0 ? 0 : active);
    for (int i : change.reload)
        loadHistory(Lotteries(i), AskForFile::No);
    if (!change.note.isEmpty()) ShowLabelTxt(change.note);
    m_work->changed();
}

void LotteryForm::drawFileEntered() {
    const int index = m_selectedIndex;
    const QString typed = m_zelkc->text().trimmed();
    if (index <= 0 || typed == m_desk->drawFile(index)) return;
    const QString note = m_desk->setDrawFile(index, typed);
    if (!note.isEmpty()) ShowLabelTxt(note);
    showDrawFile();
    loadHistory(Lotteries(index), AskForFile::No);
}

void LotteryForm::GetNewTimer_Timer() {
    m_cycle->timerFired();
}

bool LotteryForm::refreshUnderWay() const {
    return m_cycle->underWay();
}

void LotteryForm::TimerGetHwnd_Timer() {
    m_countdown->tick();
}

void LotteryForm::CaptureFromHand(int index, quint64 handle) {
    m_countdown->captureFromHand(index, handle);
}

SavedWork LotteryForm::currentWork() const {
    return m_work->current();
}

void LotteryForm::saveWork() {
    m_work->save();
}

} // namespace zuohao::gui
