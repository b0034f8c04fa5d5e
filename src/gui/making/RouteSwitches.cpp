#include "gui/making/RouteSwitches.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <algorithm>

#include "core/making/KillList.h"
#include "gui/making/ConditionStore.h"
#include "gui/making/FormState.h"
#include "gui/making/PanelWidgets.h"

namespace zuohao::gui {

namespace {
constexpr int kExtraDigitsWidth = 52;

// The first line of a box's text, whichever line end it carries.
QString firstLine(const QString& text) {
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    return end < 0 ? text : text.left(end);
}
} // namespace

RouteSwitches::RouteSwitches(FormState& form, QWidget* parent)
    : QGroupBox(QStringLiteral("杀路数 · 加码"), parent), m_form(form) {
    build();
    for (int i = 0; i < 4; ++i)
        connect(m_checkLu[i], &QCheckBox::toggled, this, [this, i] { CheckLu_Click(i); });
    connect(m_clearCommand, &QPushButton::clicked, this, &RouteSwitches::clearChecksClicked);
    for (int k = 0; k < kExtraBoxes; ++k)
        connect(m_texthwnd3[k], &QLineEdit::textChanged, this,
                [this, k] { emit extraDigitsChanged(k); });
}

void RouteSwitches::build() {
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("杀路数："), this), 0, 0);
    const QString luCaptions[4] = {QStringLiteral("全0路"), QStringLiteral("全1路"),
                                   QStringLiteral("全2路"), QStringLiteral("杀对子")};
    const QString luTips[4] = {
        QStringLiteral("杀掉各位都是0、3、6、9的号码"), QStringLiteral("杀掉各位都是1、4、7的号码"),
        QStringLiteral("杀掉各位都是2、5、8的号码"), QStringLiteral("杀掉含有相同数字的号码")};
    for (int i = 0; i < 4; ++i) {
        m_checkLu[i] =
            named(new QCheckBox(luCaptions[i], this), QStringLiteral("CheckLu_%1").arg(i));
        m_checkLu[i]->setToolTip(luTips[i]);
        grid->addWidget(m_checkLu[i], 1 + i / 2, i % 2);
    }
    m_clearCommand = named(new QPushButton(QStringLiteral("清空所有复选框"), this),
                           QStringLiteral("ClearCommand"));
    m_clearCommand->setToolTip(QStringLiteral("取消走势表上方的全部勾选"));
    grid->addWidget(m_clearCommand, 3, 0, 1, 2);
    const QString extraLabels[kExtraBoxes] = {
        QStringLiteral("和尾加码"), QStringLiteral("冷热加码"), QStringLiteral("三合加码")};
    const QString extraTips[kExtraBoxes] = {QStringLiteral("并入和尾选号（第5组）的数字"),
                                            QStringLiteral("并入冷热选号（第1组）的数字"),
                                            QStringLiteral("并入三码合选号（第2组）的数字")};
    for (int k = 0; k < kExtraBoxes; ++k) {
        auto* line = new QHBoxLayout;
        line->setSpacing(2);
        line->addWidget(new QLabel(extraLabels[k], this));
        m_texthwnd3[k] = named(new QLineEdit(this), QStringLiteral("Texthwnd3_%1").arg(k));
        m_texthwnd3[k]->setToolTip(extraTips[k]);
        m_texthwnd3[k]->setAccessibleName(extraLabels[k]);
        m_texthwnd3[k]->setFixedWidth(kExtraDigitsWidth);
        line->addWidget(m_texthwnd3[k]);
        m_handSlots[k] = handSlot(this);
        line->addWidget(m_handSlots[k]);
        line->addStretch();
        grid->addLayout(line, 4 + k, 0, 1, 2);
    }
}

void RouteSwitches::showConditions(const ConditionSet& set) {
    for (int i = 0; i < 4; ++i)
        m_checkLu[i]->setChecked(set.KLU[i] != 0);
}

QString RouteSwitches::extraDigits(int k) const {
    return m_texthwnd3[k]->text();
}

void RouteSwitches::setExtraDigits(int k, const QString& digits) {
    m_texthwnd3[k]->setText(digits);
}

void RouteSwitches::restoreExtraDigits(int k, const QString& digits) {
    // Already part of the kept selection: announcing them would add them again.
    const QSignalBlocker quiet(m_texthwnd3[k]);
    m_texthwnd3[k]->setText(digits);
}

std::optional<QString> RouteSwitches::extraDigitsOfGroup(int g) const {
    const auto at = std::find(kExtraDigitGroups.begin(), kExtraDigitGroups.end(), g);
    if (at == kExtraDigitGroups.end()) return std::nullopt;
    return firstLine(m_texthwnd3[std::size_t(at - kExtraDigitGroups.begin())]->text());
}

void RouteSwitches::placeHand(int k, QWidget* hand, QWidget* handleLabel) {
    m_handSlots[k]->layout()->addWidget(hand);
    m_handSlots[k]->layout()->addWidget(handleLabel);
}

QList<QWidget*> RouteSwitches::tabChain() const {
    QList<QWidget*> chain(m_checkLu.begin(), m_checkLu.end());
    chain << m_clearCommand;
    chain.append(QList<QWidget*>(m_texthwnd3.begin(), m_texthwnd3.end()));
    return chain;
}

void RouteSwitches::CheckLu_Click(int i) {
    StoreCondition(m_form, "KLU", m_checkLu[i]->isChecked() ? 1 : 0, i);
}

} // namespace zuohao::gui
