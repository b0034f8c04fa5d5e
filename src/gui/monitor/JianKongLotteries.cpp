// The monitor window's 彩种 list: which lottery's monitor the window shows and sets.
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

#include "core/acquire/LotteryClass.h"
#include "gui/common/QtText.h"
#include "gui/monitor/JianKongForm.h"
#include "gui/monitor/MonitorSettingsBox.h"

namespace zuohao::gui {

// The lottery chooser: which lottery's monitor the window shows.
QLayout* JianKongForm::buildChooser() {
    auto* row = new QHBoxLayout();
    auto* caption = new QLabel(QStringLiteral("彩种"), this);
    caption->setObjectName(QStringLiteral("LotteryLabel"));
    m_chooser = new QComboBox(this);
    m_chooser->setObjectName(QStringLiteral("LotteryChooser"));
    m_chooser->setEditable(false);
    m_chooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    caption->setBuddy(m_chooser);
    m_chooser->setAccessibleName(caption->text());
    m_chooser->setAccessibleDescription(QStringLiteral("选择要监控的彩种：窗口显示并设置它的监控"));
    m_chooser->setToolTip(m_chooser->accessibleDescription());
    row->addWidget(caption);
    row->addWidget(m_chooser);
    row->addStretch(1);
    return row;
}

MonitorState& JianKongForm::state() {
    return m_activeCls ? m_activeCls->monitor() : m_idle;
}

LotteryClass* JianKongForm::current() {
    if (!m_activeCls) lotteriesChanged();
    return m_activeCls;
}

void JianKongForm::lotteriesChanged() {
    m_listed = m_lotteries ? m_lotteries() : std::vector<LotteryClass*>{};
    std::erase(m_listed, nullptr);
    m_chooser->clear();
    for (const LotteryClass* lot : m_listed)
        m_chooser->addItem(toQ(lot->name()));
    const auto kept = std::find(m_listed.begin(), m_listed.end(), m_activeCls);
    LotteryClass* chosen = kept != m_listed.end() ? *kept
                           : m_listed.empty()     ? nullptr
                                                  : m_listed.front();
    chooseLottery(chosen);
}

void JianKongForm::chooserPicked(int index) {
    if (index >= 0 && index < int(m_listed.size())) chooseLottery(m_listed[std::size_t(index)]);
}

void JianKongForm::chooseLottery(LotteryClass* lottery) {
    const auto at = std::find(m_listed.begin(), m_listed.end(), lottery);
    if (lottery && at == m_listed.end()) return; // not one of the listed lotteries
    m_chooser->setCurrentIndex(lottery ? int(at - m_listed.begin()) : -1);
    if (lottery == m_activeCls) return;
    const bool loaded = m_loaded;
    if (loaded) closeStep(); // the captions of the monitor left stay with it
    m_activeCls = lottery;
    m_settings->setState(state());
    if (!loaded) return; // the next load shows the chosen monitor
    m_loaded = true;
    loadStep();
    if (m_activeCls && !m_activeCls->monitorPeriods().empty())
        m_settings->bindPeriods(m_activeCls->monitorPeriods(), state().Monitoring);
}

} // namespace zuohao::gui
