#include "gui/making/PlanOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/making/ConditionStore.h"
#include "gui/making/FormState.h"
#include "gui/making/PanelWidgets.h"

namespace zuohao::gui {

namespace {
constexpr int kWeiRows = 6; // position options: two columns of six

// Caption of a position-group option: a space, then the group's name (" 万千百").
QString groupOptionCaption(int w) {
    const std::string_view name = GroupName(w);
    return QLatin1Char(' ') + QString::fromUtf8(name.data(), qsizetype(name.size()));
}
} // namespace

PlanOptions::PlanOptions(FormState& form, QWidget* parent) : QWidget(parent), m_form(form) {
    build();
    for (int i = 0; i < kGroupCount; ++i)
        connect(m_weiOption[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) emit positionChosen(i);
        });
    connect(m_checkAuto, &QCheckBox::toggled, this, &PlanOptions::CheckAuto_Click);
    connect(m_check1, &QCheckBox::toggled, this, &PlanOptions::Check1_Click);
}

void PlanOptions::build() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    m_picture2 = named(new QGroupBox(QStringLiteral("位置"), this), QStringLiteral("Picture2"));
    auto* posGrid = new QGridLayout(m_picture2);
    posGrid->setSpacing(2);
    posGrid->setContentsMargins(4, 2, 4, 2);
    auto* weiGroup = new QButtonGroup(this);
    for (int i = 0; i < kGroupCount; ++i) {
        m_weiOption[i] = named(new QRadioButton(groupOptionCaption(i), m_picture2),
                               QStringLiteral("WeiOption_%1").arg(i));
        m_weiOption[i]->setToolTip(
            QStringLiteral("选择做号与计划的位置组（%1）").arg(groupOptionCaption(i).trimmed()));
        weiGroup->addButton(m_weiOption[i], i);
        posGrid->addWidget(m_weiOption[i], i % kWeiRows, i / kWeiRows);
    }
    column->addWidget(m_picture2);
    auto* modes = new QHBoxLayout;
    modes->setContentsMargins(4, 0, 4, 0);
    m_checkAuto =
        named(new QCheckBox(QStringLiteral("自动做号"), this), QStringLiteral("CheckAuto"));
    m_checkAuto->setToolTip(QStringLiteral("计划进行中，每期按勾选的统计列自动重新生成选号"));
    m_check1 = named(new QCheckBox(QStringLiteral("大底反集"), this), QStringLiteral("Check1"));
    m_check1->setToolTip(QStringLiteral("以被过滤掉的号码作为大底"));
    modes->addWidget(m_checkAuto);
    modes->addWidget(m_check1);
    column->addLayout(modes);
}

void PlanOptions::showConditions(const ConditionSet& set) {
    const int idx = set.IDX;
    if (idx >= 0 && idx < kGroupCount) m_weiOption[idx]->setChecked(true);
    m_checkAuto->setChecked(set.PLA);
    m_check1->setChecked(set.FAN);
}

void PlanOptions::showPlanRunning(bool planRuns) {
    m_picture2->setEnabled(!planRuns);
    m_check1->setEnabled(!planRuns);
}

QString PlanOptions::caption(int w) const {
    return (w >= 0 && w < kGroupCount) ? m_weiOption[w]->text() : QString();
}

void PlanOptions::setAutoMaking(bool on) {
    m_checkAuto->setChecked(on);
}

void PlanOptions::renewAutoMaking() {
    m_checkAuto->setChecked(true);
    CheckAuto_Click(); // stores PLA even when the box was already ticked
}

QList<QWidget*> PlanOptions::tabChain() const {
    QList<QWidget*> chain(m_weiOption.begin(), m_weiOption.end());
    chain << m_checkAuto << m_check1;
    return chain;
}

void PlanOptions::CheckAuto_Click() {
    StoreCondition(m_form, "PLA", m_checkAuto->isChecked(), 0);
}

void PlanOptions::Check1_Click() {
    StoreCondition(m_form, "FAN", m_check1->isChecked(), 0);
}

} // namespace zuohao::gui
