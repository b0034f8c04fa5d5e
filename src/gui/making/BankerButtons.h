#pragma once
// The banker and span box of the conditions panel (胆码 · 跨度): ten digit buttons (数字) for
// each of the two banker groups and for the spans to kill, five count buttons (个数) for each
// banker group and a clear button (清) per group. A selected button is red; the buttons show
// the active lottery's conditions and a click is stored through its keyed writer.
#include <QGroupBox>
#include <QList>
#include <array>

#include "core/model/ConditionSet.h"

class QPushButton;

namespace zuohao::gui {

struct FormState;

class BankerButtons : public QGroupBox {
    Q_OBJECT
public:
    BankerButtons(FormState& form, QWidget* parent);

    // Selects the buttons the bankers, their counts and the spans of `set` name.
    void showConditions(const ConditionSet& set);
    // Banker 1 (digits, counts, clear), banker 2, then the spans: in Tab order.
    QList<QWidget*> tabChain() const;

private:
    void build();
    void ShuZi_Click(int index); // 数字
    void GeShu_Click(int index); // 个数
    void Command1_Click(int index);
    // The active lottery's conditions, when there is one.
    const ConditionSet* conditions() const;

    FormState& m_form;
    std::array<QPushButton*, 30> m_shuZi{};
    std::array<QPushButton*, 10> m_geShu{};
    std::array<QPushButton*, 2> m_command1{};
};

} // namespace zuohao::gui
