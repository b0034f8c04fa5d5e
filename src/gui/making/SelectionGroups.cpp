#include "gui/making/SelectionGroups.h"

#include <QCheckBox>
#include <QLineEdit>

#include "core/acquire/LotteryClass.h"
#include "core/model/Groups.h"
#include "core/model/NumberTables.h"
#include "gui/common/QtText.h"
#include "gui/making/ConditionStore.h"
#include "gui/making/FormState.h"
#include "gui/making/PanelWidgets.h"

namespace zuohao::gui {

SelectionGroups::SelectionGroups(FormState& form, QWidget* owner) : QObject(owner), m_form(form) {
    for (int i = 0; i < kSelGroups; ++i) {
        m_selectText[i] = named(new QLineEdit(owner), QStringLiteral("SelectText_%1").arg(i));
        m_selectText[i]->setToolTip(
            QStringLiteral("第%1组选号数字（可直接输入，如 1-5）；").arg(i + 1) +
            kSelectionRenewNote);
        m_countText[i] = named(new QLineEdit(owner), QStringLiteral("CountText_%1").arg(i));
        m_countText[i]->setToolTip(QStringLiteral("第%1组选号允许命中的个数（0-6）").arg(i + 1));
        m_selectText[i]->setAccessibleName(QStringLiteral("第%1组选号").arg(i + 1));
        m_countText[i]->setAccessibleName(QStringLiteral("第%1组个数").arg(i + 1));
        connect(m_selectText[i], &QLineEdit::textEdited, this, &SelectionGroups::SelectText_Edited);
        connect(m_selectText[i], &QLineEdit::textChanged, this,
                [this, i] { SelectText_Change(i); });
        connect(m_countText[i], &QLineEdit::textChanged, this, [this, i] { CountText_Change(i); });
    }
}

void SelectionGroups::attachChecks(const std::array<QCheckBox*, kCheckCount>& boxes) {
    m_selectCheck = boxes;
    for (int i = 0; i < kCheckCount; ++i) {
        if (!boxes[i]) continue;
        connect(boxes[i], &QCheckBox::toggled, this, [this, i] { emit checkToggled(i); });
    }
}

QList<QLineEdit*> SelectionGroups::selectionTexts() const {
    return QList<QLineEdit*>(m_selectText.begin(), m_selectText.end());
}

QList<QLineEdit*> SelectionGroups::countTexts() const {
    return QList<QLineEdit*>(m_countText.begin(), m_countText.end());
}

void SelectionGroups::checkClicked(int i, const std::optional<QString>& extra) {
    if (!m_form.ActiveCls || !m_selectCheck[i]) return;
    LotteryClass& lot = *m_form.ActiveCls;
    StoreCondition(m_form, "CHK", m_selectCheck[i]->isChecked(), i);
    if (auto r = lot.ResultSelStr(i); !r)
        ReportFailure(m_form, QStringLiteral("选号未更新："), r.error());
    const int g = CheckBlock(i);
    const std::string& sel = lot.formSet().SEL[g];
    const std::string shown = extra ? DistinctDigits(sel + toStd(*extra)) : sel;
    m_selectText[g]->setText(toQ(shown)); // stored by the text's change
}

void SelectionGroups::clearChecks() {
    for (QCheckBox* box : m_selectCheck)
        if (box) box->setChecked(false);
}

void SelectionGroups::setSelection(int g, const QString& digits) {
    m_selectText[g]->setText(digits);
}

void SelectionGroups::showConditions(const ConditionSet& set) {
    for (int i = 0; i < kCheckCount; ++i)
        if (m_selectCheck[i]) m_selectCheck[i]->setChecked(set.CHK[i]);
    for (int i = 0; i < kSelGroups; ++i) {
        m_countText[i]->setText(toQ(set.CNT[i]));
        m_selectText[i]->setText(toQ(set.SEL[i]));
    }
}

QList<QWidget*> SelectionGroups::tabChain() const {
    QList<QWidget*> chain;
    for (int i = 0; i < kSelGroups; ++i)
        chain << m_selectText[i] << m_countText[i];
    return chain;
}

void SelectionGroups::SelectText_Change(int i) {
    StoreCondition(m_form, "SEL", toStd(m_selectText[i]->text()), i);
}

void SelectionGroups::SelectText_Edited() {
    // Said once a run, the first time the player types a selection; the tooltip keeps it.
    if (m_renewNoteShown) return;
    m_renewNoteShown = true;
    if (m_form.ShowLabelTxt) m_form.ShowLabelTxt(QStringLiteral("提示：") + kSelectionRenewNote);
}

void SelectionGroups::CountText_Change(int i) {
    QString kept;
    for (QChar c : m_countText[i]->text())
        if (c >= QLatin1Char('0') && c <= QLatin1Char('6')) kept.append(c);
    if (kept.isEmpty()) return;
    if (kept != m_countText[i]->text()) {
        m_countText[i]->setText(kept); // runs this again with the filtered text
        m_countText[i]->setCursorPosition(int(kept.size()));
        return;
    }
    StoreCondition(m_form, "CNT", toStd(kept), i);
}

} // namespace zuohao::gui
