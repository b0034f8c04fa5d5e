#include "gui/making/BankerButtons.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "core/acquire/LotteryClass.h"
#include "gui/making/ConditionStore.h"
#include "gui/making/FormState.h"
#include "gui/making/PanelWidgets.h"

namespace zuohao::gui {

namespace {
constexpr int kDigitButton = 22; // the square 数字 and 个数 buttons
constexpr int kGroupRows = 3;    // banker 1, banker 2, spans

QPushButton* smallButton(const QString& text, const QString& name, QWidget* parent) {
    auto* b = named(new QPushButton(text, parent), name);
    b->setFixedSize(kDigitButton, kDigitButton);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

void showSelected(QPushButton* b, bool selected) {
    // Selected: a red gradient, light at the top and deep red at the bottom.
    b->setStyleSheet(selected ? QStringLiteral("QPushButton { color: white; border: 1px solid "
                                               "rgb(140, 0, 0); border-radius: 2px; "
                                               "background: qlineargradient(x1:0, y1:0, x2:0, "
                                               "y2:1, stop:0 rgb(255, 120, 110), stop:0.5 "
                                               "rgb(235, 30, 30), stop:1 rgb(170, 0, 0)); }"
                                               // The focus shows on red as well: a dark
                                               // blue ring where the native one was.
                                               "QPushButton:focus { border: 2px solid "
                                               "rgb(0, 40, 140); }")
                              : QString());
}

bool holdsDigit(const std::string& set, int d) {
    return set.find(char('0' + d)) != std::string::npos;
}
} // namespace

BankerButtons::BankerButtons(FormState& form, QWidget* parent)
    : QGroupBox(QStringLiteral("胆码 · 跨度"), parent), m_form(form) {
    build();
    for (int i = 0; i < 30; ++i)
        connect(m_shuZi[i], &QPushButton::clicked, this, [this, i] { ShuZi_Click(i); });
    for (int j = 0; j < 10; ++j)
        connect(m_geShu[j], &QPushButton::clicked, this, [this, j] { GeShu_Click(j); });
    for (int k = 0; k < 2; ++k)
        connect(m_command1[k], &QPushButton::clicked, this, [this, k] { Command1_Click(k); });
}

void BankerButtons::build() {
    auto* grid = new QGridLayout(this);
    grid->setSpacing(1);
    grid->setContentsMargins(4, 2, 4, 2);
    const QString labels[kGroupRows] = {QStringLiteral("胆码1："), QStringLiteral("胆码2："),
                                        QStringLiteral("杀跨度：")};
    const QString names[kGroupRows] = {QStringLiteral("胆码1"), QStringLiteral("胆码2"),
                                       QStringLiteral("杀跨度")};
    const QString tips[kGroupRows] = {QStringLiteral("胆码组1：号码须含这些数字（个数见下行）"),
                                      QStringLiteral("胆码组2：号码须含这些数字（个数见下行）"),
                                      QStringLiteral("杀掉跨度为这些数字的号码")};
    for (int r = 0; r < kGroupRows; ++r) {
        grid->addWidget(new QLabel(labels[r], this), r * 2, 0);
        for (int d = 0; d < 10; ++d) {
            const int i = r * 10 + d;
            m_shuZi[i] = smallButton(QString::number(d), QStringLiteral("数字_%1").arg(i), this);
            m_shuZi[i]->setToolTip(tips[r]);
            m_shuZi[i]->setAccessibleName(QStringLiteral("%1 数字%2").arg(names[r]).arg(d));
            grid->addWidget(m_shuZi[i], r * 2, 1 + d);
        }
        if (r == kGroupRows - 1) break; // the spans have no counts
        grid->addWidget(new QLabel(QStringLiteral("个数："), this), r * 2 + 1, 0);
        for (int c = 0; c < 5; ++c) {
            const int j = r * 5 + c;
            m_geShu[j] = smallButton(QString::number(c), QStringLiteral("个数_%1").arg(j), this);
            m_geShu[j]->setToolTip(QStringLiteral("胆码组%1允许出现的个数").arg(r + 1));
            m_geShu[j]->setAccessibleName(QStringLiteral("%1 个数%2").arg(names[r]).arg(c));
            grid->addWidget(m_geShu[j], r * 2 + 1, 1 + c);
        }
        m_command1[r] = named(new QPushButton(QStringLiteral("清"), this),
                              QStringLiteral("Command1_%1").arg(r));
        m_command1[r]->setFixedHeight(kDigitButton);
        m_command1[r]->setToolTip(QStringLiteral("清除胆码组%1的数字与个数").arg(r + 1));
        grid->addWidget(m_command1[r], r * 2 + 1, 7, 1, 4);
    }
}

void BankerButtons::showConditions(const ConditionSet& set) {
    for (int i = 0; i < 30; ++i)
        showSelected(m_shuZi[i], holdsDigit(i < 20 ? set.DAN[i / 10] : set.KUA, i % 10));
    for (int j = 0; j < 10; ++j)
        showSelected(m_geShu[j], holdsDigit(set.DCC[j / 5], j % 5));
}

QList<QWidget*> BankerButtons::tabChain() const {
    QList<QWidget*> chain;
    for (int r = 0; r < kGroupRows; ++r) {
        for (int d = 0; d < 10; ++d)
            chain << m_shuZi[r * 10 + d];
        if (r == kGroupRows - 1) break;
        for (int c = 0; c < 5; ++c)
            chain << m_geShu[r * 5 + c];
        chain << m_command1[r];
    }
    return chain;
}

const ConditionSet* BankerButtons::conditions() const {
    return m_form.ActiveCls ? &m_form.ActiveCls->formSet() : nullptr;
}

// A click selects a digit the set does not hold and clears one it holds; the buttons then
// show the set as stored.
void BankerButtons::ShuZi_Click(int i) {
    const ConditionSet* set = conditions();
    if (!set) return;
    const bool selected = !holdsDigit(i < 20 ? set->DAN[i / 10] : set->KUA, i % 10);
    StoreCondition(m_form, i < 20 ? "DAN" : "KUA", i, selected ? 1 : 0);
    showConditions(*set);
}

void BankerButtons::GeShu_Click(int j) {
    const ConditionSet* set = conditions();
    if (!set) return;
    StoreCondition(m_form, "DCC", j, holdsDigit(set->DCC[j / 5], j % 5) ? 0 : 1);
    showConditions(*set);
}

void BankerButtons::Command1_Click(int k) {
    const ConditionSet* set = conditions();
    if (!set) return;
    for (int i = 10 * k; i < 10 * k + 10; ++i)
        StoreCondition(m_form, "DAN", i, 0);
    for (int j = 5 * k; j < 5 * k + 5; ++j)
        StoreCondition(m_form, "DCC", j, 0);
    showConditions(*set);
}

} // namespace zuohao::gui
