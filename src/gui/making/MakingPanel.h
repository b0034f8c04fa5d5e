#pragma once
// The conditions panel and the base-set box of the main window: position group, selection
// texts and counts, extra digits, banker and span buttons, route switches, complement and
// automatic mode; the base set with its copy buttons, start and clear of a plan, the plan
// text, the two kill-list panels and the delay box. Every edit goes into the condition set
// of the active lottery at once.
#include <QWidget>
#include <array>

#include "core/model/ConditionSet.h"
#include "gui/making/FormState.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace zuohao::gui {

class MakingPanel : public QWidget {
    Q_OBJECT
public:
    MakingPanel(FormState& form, QWidget* parent = nullptr);

    // The selection boxes stand over the history grid; the panel handles their clicks.
    void attachSelectChecks(const std::array<QCheckBox*, kCheckCount>& boxes);

    // Loads every control from the condition set of the active lottery.
    void ShowFormSet();
    // Runs the click behaviour of a position option (start-up runs it with 9).
    void WeiOption_Click(int index);
    // The caption of position option w (" 万千百" … " 后四星").
    QString weiCaption(int w) const;
    // The kill-list box k shows the accepted text for the current position group.
    QString killTextShown(int k) const;
    // Writes the accepted kill text of panel k into its box; the box's change behaviour
    // stores it (the caller marks the write with KillTextBusy).
    void writeKillBox(int k);
    // The base set (大底) box holds a new text; its change behaviour stores it.
    void setBaseText(const QString& text);

    // Controls other parts of the window read or write.
    std::array<QLineEdit*, 5> SelectText{};
    std::array<QLineEdit*, 5> CountText{};
    std::array<QLineEdit*, 3> Texthwnd3{};
    std::array<QPlainTextEdit*, 2> TextKillDadi{};
    QPlainTextEdit* ShowDadiText = nullptr;
    QPlainTextEdit* PlanText = nullptr;
    QLineEdit* TextYanchi = nullptr;
    QLabel* LabelYanchi = nullptr;
    QCheckBox* CheckAuto = nullptr;
    QWidget* Picture2 = nullptr;
    std::array<QFrame*, 2> Picture9{};
    std::array<QWidget*, 2> pickSlots{};      // where the kill-list hands go
    std::array<QWidget*, 3> digitPickSlots{}; // where the hands of Texthwnd3 go

private:
    void build();
    void wire();
    void setButtonSelected(QPushButton* b, bool selected);
    void colourKillPanels(int w);
    void reportFailure(const QString& what, const std::string& error);

    // Conditions.
    void CheckAuto_Click();
    void Check1_Click();
    void SelectCheck_Click(int index);
    void SelectText_Change(int index);
    void CountText_Change(int index);
    void Texthwnd3_Change(int index);
    void ClearCommand_Click();
    void ShuZi_Click(int index); // 数字
    void GeShu_Click(int index); // 个数
    void Command1_Click(int index);
    void CheckLu_Click(int index);

    // Base set, plan and kill lists.
    void ShowDadiText_Change();
    void CopyDadiCmd_Click();
    void CommandFanji_Click();
    void SuishuiCmd_Click();
    void PlanCmd_Click();
    void PlanText_Change();
    void TextKillDadi_Change(int k);
    void killListStored(int k, bool renewPlan);
    void Command2_Click(int k);
    void Command3_Click(int k);
    void TextYanchi_Change();

    FormState& m_form;
    std::array<QRadioButton*, 12> m_weiOption{};
    std::array<QCheckBox*, kCheckCount> m_selectCheck{};
    std::array<QPushButton*, 30> m_shuZi{};
    std::array<bool, 30> m_shuZiSelected{};
    std::array<QPushButton*, 10> m_geShu{};
    std::array<bool, 10> m_geShuSelected{};
    std::array<QPushButton*, 2> m_command1{};
    std::array<QCheckBox*, 4> m_checkLu{};
    QCheckBox* m_check1 = nullptr;
    QPushButton* m_clearCommand = nullptr;
    QPushButton* m_copyDadiCmd = nullptr;
    QPushButton* m_commandFanji = nullptr;
    QPushButton* m_suishuiCmd = nullptr;
    QPushButton* m_planCmd = nullptr;
    std::array<QLabel*, 2> m_labelZhu{};
    std::array<QPushButton*, 2> m_command2{};
    std::array<QPushButton*, 2> m_command3{};
};

} // namespace zuohao::gui
