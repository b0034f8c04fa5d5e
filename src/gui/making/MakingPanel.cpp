// Construction of the conditions panel from its parts, the wiring between them, and the
// start and clear of a plan.
//
// From left to right: the position options with the two mode switches, the banker and span
// buttons, the route switches and extra digits, then the kill-list panels beside the base
// set, with the plan text under both. The panel fits a window 1024 pixels wide.
#include "gui/making/MakingPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/acquire/LotteryClass.h"
#include "core/making/KillList.h"
#include "gui/common/QtText.h"
#include "gui/making/BankerButtons.h"
#include "gui/making/BaseSetColumn.h"
#include "gui/making/ConditionStore.h"
#include "gui/making/KillListPanel.h"
#include "gui/making/PanelWidgets.h"
#include "gui/making/PlanOptions.h"
#include "gui/making/RouteSwitches.h"

namespace zuohao::gui {

namespace {
constexpr int kPlanLinesShown = 3;
constexpr int kKillPanels = 2;
} // namespace

MakingPanel::MakingPanel(FormState& form, QWidget* parent) : QWidget(parent), m_form(form) {
    setObjectName(QStringLiteral("MakingPanel"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(4);
    m_options = new PlanOptions(m_form, this);
    row->addWidget(m_options);
    m_bankers = new BankerButtons(m_form, this);
    row->addWidget(m_bankers);
    m_routes = new RouteSwitches(m_form, this);
    row->addWidget(m_routes);
    buildPlanArea(row);
    m_groups = new SelectionGroups(m_form, this);
    wire();
}

// Kill lists beside the base set, and the plan text under both: a plan line is
// "period  count注  【group】  result" and must be seen whole, so it gets their width.
void MakingPanel::buildPlanArea(QLayout* row) {
    auto* area = new QGridLayout;
    area->setSpacing(2);
    auto* kills = new QVBoxLayout;
    kills->setSpacing(2);
    for (int k = 0; k < kKillPanels; ++k) {
        m_killPanels[std::size_t(k)] = new KillListPanel(m_form, k, this);
        kills->addWidget(m_killPanels[std::size_t(k)]);
    }
    area->addLayout(kills, 0, 0);
    m_baseColumn = new BaseSetColumn(m_form, this);
    area->addWidget(m_baseColumn, 0, 1);
    area->setColumnStretch(0, 1);
    area->setColumnStretch(1, 1);
    m_planText = named(new QPlainTextEdit(this), QStringLiteral("PlanText"));
    m_planText->setReadOnly(true);
    m_planText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_planText->setToolTip(QStringLiteral("本计划各期的结果，最新一期在最下面"));
    m_planText->setAccessibleName(QStringLiteral("计划"));
    m_planText->setTabChangesFocus(true);
    const QFontMetrics fm(m_planText->font());
    m_planText->setFixedHeight((fm.lineSpacing() + 1) * kPlanLinesShown +
                               2 * m_planText->frameWidth() +
                               int(2 * m_planText->document()->documentMargin()) + 4);
    area->addWidget(m_planText, 1, 0, 1, 2);
    static_cast<QBoxLayout*>(row)->addLayout(area, 1);
}

// Every signal between the parts, in one place.
void MakingPanel::wire() {
    connect(m_options, &PlanOptions::positionChosen, this, &MakingPanel::WeiOption_Click);
    connect(m_groups, &SelectionGroups::checkToggled, this, &MakingPanel::SelectCheck_Click);
    connect(m_routes, &RouteSwitches::extraDigitsChanged, this, &MakingPanel::Texthwnd3_Change);
    connect(m_routes, &RouteSwitches::clearChecksClicked, m_groups, &SelectionGroups::clearChecks);
    connect(m_baseColumn, &BaseSetColumn::startClicked, this, &MakingPanel::SuishuiCmd_Click);
    connect(m_baseColumn, &BaseSetColumn::clearClicked, this, &MakingPanel::PlanCmd_Click);
    connect(m_planText, &QPlainTextEdit::textChanged, this, &MakingPanel::PlanText_Change);
    for (KillListPanel* panel : m_killPanels)
        connect(panel, &KillListPanel::stored, this, &MakingPanel::killListStored);
}

void MakingPanel::attachSelectChecks(const std::array<QCheckBox*, kCheckCount>& boxes) {
    m_groups->attachChecks(boxes);
}

QList<QLineEdit*> MakingPanel::selectionTexts() const {
    return m_groups->selectionTexts();
}

QList<QLineEdit*> MakingPanel::countTexts() const {
    return m_groups->countTexts();
}

QList<QWidget*> MakingPanel::tabChain() const {
    QList<QWidget*> chain = m_options->tabChain();
    chain << m_groups->tabChain() << m_bankers->tabChain() << m_routes->tabChain();
    for (KillListPanel* panel : m_killPanels)
        chain << panel->tabChain();
    chain << m_baseColumn->tabChain() << m_planText;
    return chain;
}

void MakingPanel::placeKillHand(int k, QWidget* hand, QWidget* handleLabel) {
    m_killPanels[std::size_t(k)]->placeHand(hand, handleLabel);
}

void MakingPanel::placeDigitHand(int k, QWidget* hand, QWidget* handleLabel) {
    m_routes->placeHand(k, hand, handleLabel);
}

void MakingPanel::ShowFormSet() {
    if (!m_form.ActiveCls) return;
    const LotteryClass& lot = *m_form.ActiveCls;
    showPlanButtons(lot.hasPlan());
    // Each part reads the live set: a control's own behaviour may have changed it.
    m_options->showConditions(lot.formSet());
    m_groups->showConditions(lot.formSet());
    m_routes->showConditions(lot.formSet());
    m_bankers->showConditions(lot.formSet());
    m_form.KillTextBusy = true;
    for (KillListPanel* panel : m_killPanels)
        panel->showFormSet();
    m_form.KillTextBusy = false;
}

void MakingPanel::WeiOption_Click(int w) {
    if (w == m_form.CurWei || !m_form.ActiveCls) return;
    m_form.CurWei = w;
    colourKillPanels(w);
    LotteryClass& lot = *m_form.ActiveCls;
    StoreCondition(m_form, "IDX", w, 0);
    if (m_form.RedrawPlanDisplay) m_form.RedrawPlanDisplay();
    if (lot.GetHasChecked()) {
        auto r = lot.ResultAutoSelStr(lot.newestDraw().get(), true, 0);
        if (!r) ReportFailure(m_form, QStringLiteral("选号未更新："), r.error());
    }
    ShowFormSet();
}

void MakingPanel::colourKillPanels(int w) {
    for (int k = 0; k < kKillPanels; ++k)
        m_killPanels[std::size_t(k)]->setCurrent(k == w / 10);
}

QString MakingPanel::weiCaption(int w) const {
    return m_options->caption(w);
}

void MakingPanel::setAutoMaking(bool on) {
    m_options->setAutoMaking(on);
}

void MakingPanel::SelectCheck_Click(int i) {
    m_groups->checkClicked(i, m_routes->extraDigitsOfGroup(CheckBlock(i)));
}

void MakingPanel::Texthwnd3_Change(int k) {
    // The first box of the group whose selection takes the digits of extra box k.
    SelectCheck_Click(CheckOf(kExtraDigitGroups[std::size_t(k)], 0));
}

QString MakingPanel::extraDigits(int k) const {
    return m_routes->extraDigits(k);
}

void MakingPanel::setExtraDigits(int k, const QString& digits) {
    m_routes->setExtraDigits(k, digits);
}

void MakingPanel::restoreExtraDigits(int k, const QString& digits) {
    m_routes->restoreExtraDigits(k, digits);
}

void MakingPanel::setSelection(int g, const QString& digits) {
    m_groups->setSelection(g, digits);
}

QString MakingPanel::killTextShown(int k) const {
    return m_killPanels[std::size_t(k)]->shownText();
}

void MakingPanel::writeKillBox(int k) {
    m_killPanels[std::size_t(k)]->writeBox();
}

void MakingPanel::noteLinesLeftOut(const QString& text) {
    const QString note = LinesLeftOutNote(text);
    if (!note.isEmpty() && m_form.ShowLabelTxt) m_form.ShowLabelTxt(note);
}

void MakingPanel::killListStored(bool renewPlan) {
    if (!renewPlan || !m_form.ActiveCls) return;
    if (!m_form.IsActivated || !m_form.ActiveCls->hasPlan()) return;
    m_baseColumn->showNewBaseSet(&LotteryClass::RenewPlan);
    if (m_form.RedrawPlanDisplay) m_form.RedrawPlanDisplay();
}

const NumberList& MakingPanel::baseSet() const {
    return m_baseColumn->baseSet();
}

QString MakingPanel::baseText() const {
    return m_baseColumn->baseText();
}

void MakingPanel::showBaseSet() {
    m_baseColumn->showBaseSet();
}

void MakingPanel::setCountdown(int seconds) {
    m_baseColumn->setCountdown(seconds);
}

void MakingPanel::setDelay(int seconds) {
    m_baseColumn->setDelay(seconds);
}

void MakingPanel::commitDelay() {
    m_baseColumn->commitDelay();
}

void MakingPanel::showPlanButtons(bool planRuns) {
    m_baseColumn->showPlanButtons(planRuns);
    m_options->showPlanRunning(planRuns);
}

void MakingPanel::SuishuiCmd_Click() {
    if (!m_form.ActiveCls || !m_form.ActiveCls->hasHistory()) return;
    const LotteryClass& lot = *m_form.ActiveCls;
    // A running plan is not restarted behind the user's back (its lines would vanish): the
    // button is disabled while it runs; 清除计划 ends it first.
    if (lot.hasPlan()) return;
    showPlanButtons(true);
    // A failed reduction leaves the base set as it was; the plan goes on with it.
    m_baseColumn->showNewBaseSet(&LotteryClass::StartPlan);
    if (lot.newestDraw()) setPlanText(toQ(lot.newestDraw()->PlanTxt()));
}

void MakingPanel::PlanCmd_Click() {
    if (!m_form.ActiveCls) return;
    m_form.ActiveCls->StopPlan();
    showPlanButtons(false);
    m_options->renewAutoMaking();
    m_form.ActiveCls->clearBaseSet();
    if (m_form.WorkChanged) m_form.WorkChanged();
    showBaseSet();
    m_planText->setPlainText(QString());
    emit planCleared();
}

void MakingPanel::setPlanText(const QString& text) {
    // One line break per line: the box would show CR and LF as two.
    QString shown = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The box ends at the newest line, which goes to its bottom row.
    if (shown.endsWith(u'\n')) shown.chop(1);
    m_planText->setPlainText(shown);
    PlanText_Change();
}

void MakingPanel::setPlanPrompt(const QString& text) {
    m_planText->setPlaceholderText(text);
}

void MakingPanel::PlanText_Change() {
    QTextCursor c = m_planText->textCursor();
    if (!c.atEnd()) {
        c.movePosition(QTextCursor::End);
        m_planText->setTextCursor(c);
    }
    // The newest line in view: a text ending with a line break has an empty last line.
    m_planText->ensureCursorVisible();
    if (QScrollBar* bar = m_planText->verticalScrollBar()) bar->setValue(bar->maximum());
    if (QScrollBar* bar = m_planText->horizontalScrollBar()) bar->setValue(bar->minimum());
}

} // namespace zuohao::gui
