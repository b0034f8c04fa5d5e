// The player's work kept between runs: the conditions of each lottery, the kill lists, the
// monitor's settings and lock period, written a moment after every change (and at closing)
// and restored at load. A plan is not restarted: the restored
// conditions are shown and the player starts it. The selection texts are kept with the period
// they belong to: loading the draws derives them afresh from the ticked columns, and on the
// same draws the kept texts are put back, so that the same draws give the same base set.
#include <QTimer>

#include "core/acquire/LotteryClass.h"
#include "gui/app/LotteryForm.h"
#include "gui/common/LastingNote.h"
#include "gui/making/MakingPanel.h"
#include "gui/monitor/JianKongForm.h"

namespace zuohao::gui {

namespace {
// Changes that come together (a resize, a paste that stores several values) are written once.
constexpr int kWorkWriteDelayMs = 150;
} // namespace

SavedWork LotteryForm::currentWork() const {
    SavedWork w;
    for (std::size_t i = 0; i < m_lotteries.size(); ++i) {
        if (!m_lotteries[i]) continue;
        w.conditions[i] = m_lotteries[i]->formSet();
        w.selectionPeriod[i] = m_lotteries[i]->newestPeriod();
        // Not loaded yet: what was kept stays kept.
        if (const auto& kept = m_keptSelections[i]) {
            w.conditions[i].SEL = kept->sel;
            w.selectionPeriod[i] = kept->period;
        }
    }
    for (std::size_t k = 0; k < w.extraDigits.size(); ++k) {
        std::string& digits = w.extraDigits[k];
        for (QChar c : m_panel->extraDigits(int(k)))
            if (c >= u'0' && c <= u'9' && digits.find(char(c.unicode())) == std::string::npos)
                digits += char(c.unicode());
    }
    w.kill = m_form.Kill;
    // The work file keeps the first lottery's monitor settings.
    const MonitorState idle;
    const MonitorState& monitor = m_lotteries[0] ? m_lotteries[0]->monitor() : idle;
    w.segmentSettings = monitor.SegmentSettings;
    w.segmentPeriod = monitor.SegmentPeriod;
    w.lockPeriod = monitor.LockPeriod;
    w.alarmSound = m_jianKong->soundOn();
    return w;
}

void LotteryForm::saveWork() {
    if (!m_workReady) return;
    m_workTimer->stop();
    if (!WriteSavedWork(currentWork(), m_workPath))
        ShowLabelTxt(QStringLiteral("做号条件无法保存到 ") + m_workPath);
}

void LotteryForm::workChanged() {
    if (m_workReady && !m_workTimer->isActive()) m_workTimer->start();
}

void LotteryForm::restoreWork() {
    m_workPath = m_options.workPath.isEmpty() ? DefaultSavedWorkPath() : m_options.workPath;
    m_workTimer = new QTimer(this);
    m_workTimer->setSingleShot(true);
    m_workTimer->setInterval(kWorkWriteDelayMs);
    connect(m_workTimer, &QTimer::timeout, this, &LotteryForm::saveWork);
    m_form.WorkChanged = [this] { workChanged(); };
    connect(m_jianKong, &JianKongForm::settingsChanged, this, &LotteryForm::workChanged);

    const SavedWorkLoad loaded = LoadSavedWork(m_workPath);
    if (!loaded.setAsideTo.isEmpty())
        m_lastingNote->showNote(SavedWorkSetAsideText(loaded.setAsideTo));
    if (loaded.work) {
        const SavedWork& w = *loaded.work;
        // The conditions only: the base set, its complement and the plan start afresh.
        for (int i = 0; i < int(m_lotteries.size()); ++i) {
            const ConditionSet& kept = w.conditions[std::size_t(i)];
            Lotteries(i).restoreConditions(kept);
            if (!w.selectionPeriod[std::size_t(i)].empty())
                m_keptSelections[std::size_t(i)] =
                    KeptSelections{w.selectionPeriod[std::size_t(i)], kept.SEL};
        }

        m_form.Kill = w.kill;
        MonitorState& monitor = Lotteries(0).monitor();
        monitor.SegmentSettings = w.segmentSettings;
        monitor.SegmentPeriod = w.segmentPeriod;
        monitor.LockPeriod = w.lockPeriod;
        m_jianKong->setSoundOn(w.alarmSound);
        m_jianKong->showSettings();
        // The position group shown follows the active lottery's restored group.
        const int idx = m_form.ActiveCls->formSet().IDX;
        m_form.CurWei = -1;
        m_panel->WeiOption_Click(idx);
        m_panel->ShowFormSet();
        for (int k = 0; k < int(w.extraDigits.size()); ++k)
            m_panel->restoreExtraDigits(k, QString::fromStdString(w.extraDigits[std::size_t(k)]));
    }
    m_workReady = true;
    // A file set aside is replaced by the work as it stands.
    if (!loaded.setAsideTo.isEmpty()) saveWork();
}

void LotteryForm::putBackKeptSelections(LotteryClass& lottery) {
    const int i = lottery.index();
    if (i < 0 || i >= int(m_keptSelections.size()) || !m_keptSelections[std::size_t(i)]) return;
    const KeptSelections kept = *m_keptSelections[std::size_t(i)];
    m_keptSelections[std::size_t(i)].reset();
    // A draw that came while the program was closed derives them anew, as any new draw does.
    (void)lottery.restoreSelection(kept.period, kept.sel);
    workChanged();
}

} // namespace zuohao::gui
