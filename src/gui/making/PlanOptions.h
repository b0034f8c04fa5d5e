#pragma once
// The position column of the conditions panel: the twelve position-group options (Picture2,
// locked while a plan runs), 自动做号 (usable during a plan, where it matters) and 大底反集
// (locked with the options). The controls show the active lottery's conditions; a click is
// stored through the lottery's keyed writer, a position choice is announced for the panel.
#include <QList>
#include <QString>
#include <QWidget>
#include <array>

#include "core/model/ConditionSet.h"
#include "core/model/Groups.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace zuohao::gui {

struct FormState;

class PlanOptions : public QWidget {
    Q_OBJECT
public:
    PlanOptions(FormState& form, QWidget* parent);

    // Shows the position group, 自动做号 and 大底反集 of `set` (the live set: a choice shown
    // may change it before the next is read).
    void showConditions(const ConditionSet& set);
    // Locks the position options and 大底反集 while a plan runs.
    void showPlanRunning(bool planRuns);
    // The caption of position option w (" 万千百" … " 后四星").
    QString caption(int w) const;
    // Ticks or clears 自动做号 as a click would.
    void setAutoMaking(bool on);
    // Ticks 自动做号 and stores it even when it was ticked already (after 清除计划).
    void renewAutoMaking();
    // The options, 自动做号 and 大底反集, in Tab order.
    QList<QWidget*> tabChain() const;

signals:
    // Position option w was chosen (by a click or by showing a lottery's conditions).
    void positionChosen(int w);

private:
    void build();
    void CheckAuto_Click();
    void Check1_Click();

    FormState& m_form;
    QGroupBox* m_picture2 = nullptr;
    std::array<QRadioButton*, kGroupCount> m_weiOption{};
    QCheckBox* m_checkAuto = nullptr;
    QCheckBox* m_check1 = nullptr;
};

} // namespace zuohao::gui
