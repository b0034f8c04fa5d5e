#pragma once
// The route and extra-digit box of the conditions panel (杀路数 · 加码): the four route
// switches, the button that clears every selection box over the history grid, and the three
// extra-digit boxes (Texthwnd3: 和尾, 冷热 and 三合加码) with a place for a picked-window hand
// beside each. A route switch is stored through the lottery's keyed writer; the clear button
// and a new extra-digit text are announced for the panel, which owns the selection boxes.
#include <QGroupBox>
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "core/making/KillList.h"
#include "core/model/ConditionSet.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zuohao::gui {

struct FormState;

class RouteSwitches : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int kExtraBoxes = int(kExtraDigitGroups.size());

    RouteSwitches(FormState& form, QWidget* parent);

    // Ticks the route switches `set` has on.
    void showConditions(const ConditionSet& set);
    // The text of extra box k; a new text is announced (extraDigitsChanged).
    QString extraDigits(int k) const;
    void setExtraDigits(int k, const QString& digits);
    // The kept text of extra box k, put back without announcing it.
    void restoreExtraDigits(int k, const QString& digits);
    // The extra digits selection group g takes (its box's first line); none for a group
    // with no extra box.
    std::optional<QString> extraDigitsOfGroup(int g) const;
    // Puts a picked-window hand (with its handle label) beside extra box k.
    void placeHand(int k, QWidget* hand, QWidget* handleLabel);
    // The route switches, the clear button and the extra boxes, in Tab order.
    QList<QWidget*> tabChain() const;

signals:
    // 清空所有复选框 was clicked.
    void clearChecksClicked();
    // The text of extra box k changed.
    void extraDigitsChanged(int k);

private:
    void build();
    void CheckLu_Click(int index);

    FormState& m_form;
    std::array<QCheckBox*, 4> m_checkLu{};
    QPushButton* m_clearCommand = nullptr;
    std::array<QLineEdit*, kExtraBoxes> m_texthwnd3{};
    std::array<QWidget*, kExtraBoxes> m_handSlots{};
};

} // namespace zuohao::gui
