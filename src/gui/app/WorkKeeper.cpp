#include "gui/app/WorkKeeper.h"

#include <QTimer>

#include "core/acquire/LotteryClass.h"
#include "gui/app/LotteryForm.h"
#include "gui/app/TransferCountdown.h"
#include "gui/common/LastingNote.h"
#include "gui/making/MakingPanel.h"
#include "gui/monitor/JianKongForm.h"

namespace zuohao::gui {

namespace {
// Changes that come together (a resize, a paste that stores several values) are written once.
constexpr int kWorkWriteDelayMs = 150;
} // namespace

WorkKeeper::WorkKeeper(LotteryForm& form, QString path)
    : QObject(&form), m_form(form), m_path(std::move(path)) {
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(kWorkWriteDelayMs);
    connect(m_timer, &QTimer::timeout, this, &WorkKeeper::save);
}

namespace {
// A lottery's kill texts and the digits of its extra boxes, each digit once.
void keepTransfer(const LotteryTransfer& transfer, LotteryWork& l) {
    l.kill = transfer.kill;
    for (std::size_t k = 0; k < l.extraDigits.size(); ++k) {
        std::string& digits = l.extraDigits[k];
        digits.clear();
        for (char c : transfer.extraDigits[k])
            if (c >= '0' && c <= '9' && digits.find(c) == std::string::npos) digits += c;
    }
}
} // namespace

SavedWork WorkKeeper::current() const {
    SavedWork w;
    w.lotteries.clear();
    const LotteryDesk& desk = *m_form.m_desk;
    for (int i = 0; i < desk.count(); ++i) {
        const LotteryClass& lot = desk.lottery(i);
        LotteryWork l;
        if (const LotteryWork* loaded = m_loaded.find(lot.name())) l = *loaded;
        l.name = lot.name();
        l.conditions = lot.formSet();
        l.selectionPeriod = lot.newestPeriod();
        // Not loaded yet: what was kept stays kept.
        if (const auto kept = m_keptSelections.find(lot.name()); kept != m_keptSelections.end()) {
            l.conditions.SEL = kept->second.sel;
            l.selectionPeriod = kept->second.period;
        }
        const MonitorState& monitor = lot.monitor();
        l.segmentSettings = monitor.SegmentSettings;
        l.segmentPeriod = monitor.SegmentPeriod;
        l.lockPeriod = monitor.LockPeriod;
        l.monitorKept = true;
        l.monitorLog = monitor.Log;
        keepTransfer(desk.transfer(i), l);
        w.lotteries.push_back(l);
    }
    w.alarmSound = m_form.m_jianKong->soundOn();
    return w;
}

void WorkKeeper::save() {
    if (!m_ready) return;
    m_timer->stop();
    m_logLinesSeen = logLinesAdded();
    if (!WriteSavedWork(current(), m_path))
        m_form.ShowLabelTxt(QStringLiteral("做号条件无法保存到 ") + m_path);
}

void WorkKeeper::changed() {
    if (m_ready && !m_timer->isActive()) m_timer->start();
}

std::uint64_t WorkKeeper::logLinesAdded() const {
    std::uint64_t n = 0;
    const LotteryDesk& desk = *m_form.m_desk;
    for (int i = 0; i < desk.count(); ++i)
        n += desk.lottery(i).monitor().LogLinesAdded;
    return n;
}

void WorkKeeper::noteMonitorLogs() {
    if (logLinesAdded() != m_logLinesSeen) changed();
}

void WorkKeeper::restoreLottery(LotteryClass& lottery, const LotteryWork& kept) {
    // The conditions only: the base set, its complement and the plan start afresh; the
    // monitor's record box is there again as it was left.
    lottery.restoreConditions(kept.conditions);
    lottery.monitor().Log = kept.monitorLog;
    // A record without monitor settings leaves the monitor at its start-up entries.
    if (kept.monitorKept) {
        MonitorState& monitor = lottery.monitor();
        monitor.SegmentSettings = kept.segmentSettings;
        monitor.SegmentPeriod = kept.segmentPeriod;
        monitor.LockPeriod = kept.lockPeriod;
    }
    if (!kept.selectionPeriod.empty())
        m_keptSelections[lottery.name()] =
            KeptSelections{kept.selectionPeriod, kept.conditions.SEL};
}

void WorkKeeper::restoreTransfer(LotteryTransfer& transfer, const LotteryWork& kept) {
    // The picked windows are not kept: a window's handle means nothing after a restart.
    transfer.kill = kept.kill;
    transfer.extraDigits = kept.extraDigits;
}

void WorkKeeper::restore() {
    // The shown lottery's record follows its boxes before the work is written.
    m_form.m_form.WorkChanged = [this] {
        m_form.m_countdown->keepShown();
        changed();
    };
    connect(m_form.m_jianKong, &JianKongForm::settingsChanged, this, &WorkKeeper::changed);
    connect(m_form.m_jianKong, &JianKongForm::logAdded, this, &WorkKeeper::changed);

    const SavedWorkLoad loaded = LoadSavedWork(m_path);
    if (!loaded.setAsideTo.isEmpty())
        m_form.m_lastingNote->showNote(SavedWorkSetAsideText(loaded.setAsideTo));
    if (loaded.work) {
        const SavedWork& w = *loaded.work;
        m_loaded = w;
        const LotteryDesk& desk = *m_form.m_desk;
        for (int i = 0; i < desk.count(); ++i)
            if (const LotteryWork* kept = w.find(desk.lottery(i).name())) {
                restoreLottery(desk.lottery(i), *kept);
                restoreTransfer(desk.transfer(i), *kept);
            }
        m_form.m_countdown->showShown();
        JianKongForm* jianKong = m_form.m_jianKong;
        jianKong->setSoundOn(w.alarmSound);
        jianKong->showSettings();
        // The position group shown follows the active lottery's restored group.
        MakingPanel* panel = m_form.m_panel;
        const int idx = m_form.m_form.ActiveCls->formSet().IDX;
        m_form.m_form.CurWei = -1;
        panel->WeiOption_Click(idx);
        panel->ShowFormSet();
    }
    m_ready = true;
    // A file set aside is replaced by the work as it stands.
    if (!loaded.setAsideTo.isEmpty()) save();
}

void WorkKeeper::renamed(const std::string& oldName, const std::string& newName) {
    if (auto it = m_keptSelections.find(oldName); it != m_keptSelections.end()) {
        const KeptSelections kept = it->second;
        m_keptSelections.erase(it);
        m_keptSelections[newName] = kept;
    }
    for (LotteryWork& l : m_loaded.lotteries)
        if (l.name == oldName) l.name = newName;
    changed();
}

void WorkKeeper::removed(const std::string& name) {
    m_keptSelections.erase(name);
    std::erase_if(m_loaded.lotteries, [&name](const LotteryWork& l) { return l.name == name; });
    changed();
}

void WorkKeeper::putBackKeptSelections(LotteryClass& lottery) {
    const auto it = m_keptSelections.find(lottery.name());
    if (it == m_keptSelections.end()) return;
    const KeptSelections kept = it->second;
    m_keptSelections.erase(it);
    // A draw that came while the program was closed derives them anew, as any new draw does.
    (void)lottery.restoreSelection(kept.period, kept.sel);
    changed();
}

} // namespace zuohao::gui
