#pragma once
// The selection groups of the conditions panel: the selection boxes over the history grid
// (SelectCheck, one per statistics column), and per selection group its digits (SelectText)
// and allowed match counts (CountText), placed over the grid by the grid itself. A ticked box
// rebuilds its group's digits in the lottery; a typed text is stored through its keyed
// writer; the boxes show the lottery's conditions.
#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <optional>

#include "core/model/ConditionSet.h"

class QCheckBox;
class QLineEdit;
class QWidget;

namespace zuohao::gui {

struct FormState;

// What happens to a typed selection: said in the selection boxes' tooltips and, the first
// time the player types one, in the status line.
inline const QString kSelectionRenewNote =
    QStringLiteral("新开奖时选号按勾选的列重新生成（计划中未勾“自动做号”时除外），"
                   "手输的数字会被替换");

class SelectionGroups : public QObject {
    Q_OBJECT
public:
    // The texts are made as children of `owner` until the grid places them.
    SelectionGroups(FormState& form, QWidget* owner);

    // The selection boxes stand over the history grid; a click is announced (checkToggled).
    void attachChecks(const std::array<QCheckBox*, kCheckCount>& boxes);
    QList<QLineEdit*> selectionTexts() const;
    QList<QLineEdit*> countTexts() const;
    // Box i was clicked: stores it, rebuilds its group's digits and shows them joined with
    // `extra` (the group's extra digits, when it has an extra box).
    void checkClicked(int i, const std::optional<QString>& extra);
    // Clears every selection box, as clicks would.
    void clearChecks();
    // The selection digits of group g, shown and stored.
    void setSelection(int g, const QString& digits);
    // Shows the boxes, counts and digits of `set` (the live set: a box shown rebuilds its
    // group before the texts are read).
    void showConditions(const ConditionSet& set);
    // Digits and counts of each group, in Tab order.
    QList<QWidget*> tabChain() const;

signals:
    // Selection box i was ticked or cleared.
    void checkToggled(int i);

private:
    void SelectText_Edited();
    void SelectText_Change(int index);
    void CountText_Change(int index);

    FormState& m_form;
    std::array<QCheckBox*, kCheckCount> m_selectCheck{};
    std::array<QLineEdit*, kSelGroups> m_selectText{};
    std::array<QLineEdit*, kSelGroups> m_countText{};
    bool m_renewNoteShown = false; // the note on typed selections was given
};

} // namespace zuohao::gui
