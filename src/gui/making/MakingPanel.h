#pragma once
// The conditions panel and the base-set box of the main window: position group, selection
// texts and counts, extra digits, banker and span buttons, route switches, complement and
// automatic mode; the base set with its copy buttons, start and clear of a plan, the plan
// text, the two kill-list panels and the delay box. Every edit goes into the condition set
// of the active lottery at once.
#include <QList>
#include <QString>
#include <QWidget>
#include <array>

#include "core/model/ConditionSet.h"
#include "core/model/Groups.h"
#include "core/model/Result.h"
#include "gui/making/FormState.h"

class QCheckBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

class BaseSetColumn;
class KillListPanel;

// What happens to a typed selection: said in the selection boxes' tooltips and, the first
// time the player types one, in the status line.
inline const QString kSelectionRenewNote =
    QStringLiteral("新开奖时选号按勾选的列重新生成（计划中未勾“自动做号”时除外），"
                   "手输的数字会被替换");

class MakingPanel : public QWidget {
    Q_OBJECT
public:
    MakingPanel(FormState& form, QWidget* parent = nullptr);

    // The selection boxes stand over the history grid; the panel handles their clicks.
    void attachSelectChecks(const std::array<QCheckBox*, kCheckCount>& boxes);
    // The selection row (SelectText 0-4, CountText 0-4) the history grid places over itself.
    QList<QLineEdit*> selectionTexts() const;
    QList<QLineEdit*> countTexts() const;
    // The panel's controls in the order Tab goes through them: position, selections,
    // bankers, kill span, route switches and extra digits, kill lists, base set, plan buttons.
    QList<QWidget*> tabChain() const;
    // Puts a picked-window hand (with its handle label) beside the box it fills: kill-list
    // panel k (hands 0, 1) or extra-digit box k (hands 2-4).
    void placeKillHand(int k, QWidget* hand, QWidget* handleLabel);
    void placeDigitHand(int k, QWidget* hand, QWidget* handleLabel);

    // Loads every control from the condition set of the active lottery.
    void ShowFormSet();
    // Runs the click behaviour of a position option (start-up runs it with 9).
    void WeiOption_Click(int index);
    // The caption of position option w (" 万千百" … " 后四星").
    QString weiCaption(int w) const;
    // Ticks or clears 自动做号 as a click would.
    void setAutoMaking(bool on);

    // The kill-list box k shows the accepted text for the current position group.
    QString killTextShown(int k) const;
    // Writes the accepted kill text of panel k into its box; the box's change behaviour
    // stores it (the caller marks the write with KillTextBusy).
    void writeKillBox(int k);
    // The base set (大底): the active lottery's, and its text as the box shows it.
    const NumberList& baseSet() const;
    QString baseText() const;
    // Shows the active lottery's base set in the box (never read back) and its counts in
    // the copy buttons' captions: after every change of the base set.
    void showBaseSet();
    // The extra digits of box k (Texthwnd3: selection group 4, 0, 1); a new text merges
    // into its selection group.
    QString extraDigits(int k) const;
    void setExtraDigits(int k, const QString& digits);
    // The kept text of extra box k, put back without its change behaviour.
    void restoreExtraDigits(int k, const QString& digits);
    // The selection digits of group g (SelectText); stored as the condition.
    void setSelection(int g, const QString& digits);
    // What the empty plan box says (a demo's first steps).
    void setPlanPrompt(const QString& text);
    // The countdown display (LabelYanchi), in seconds.
    void setCountdown(int seconds);
    // The delay box: a value from the program, normalised and stored at once.
    void setDelay(int seconds);
    // Ends an edit of the delay box still open (as Enter would).
    void commitDelay();
    // Tells the status line how many lines of a text pasted or read into a kill list were
    // left out (only its first line is taken); nothing when none were.
    void noteLinesLeftOut(const QString& text);
    // The plan text: whole lines, the newest in view.
    void setPlanText(const QString& text);

signals:
    // 清除计划 was clicked: the plan of the active lottery has ended.
    void planCleared();

private:
    void buildPositionColumn(QLayout* row);
    void buildBankerBox(QLayout* row);
    void buildSwitchBox(QLayout* row);
    void buildPlanArea(QLayout* row);
    void buildSelectionRow();
    void wire();
    void setButtonSelected(QPushButton* b, bool selected);
    void colourKillPanels(int w);
    // A kill list was stored: a running plan is renewed with it when `renewPlan`.
    void killListStored(bool renewPlan);
    void showPlanButtons(bool planRuns);
    void reportFailure(const QString& what, const std::string& error);
    // A condition stored from a control. The keys and values handed over here are always
    // well formed; a refusal would mean a bug in the panel, so it is shown, not dropped.
    void store(std::string_view key, const FormValue& value, int idx);

    // Conditions.
    void CheckAuto_Click();
    void Check1_Click();
    void SelectCheck_Click(int index);
    void SelectText_Edited();
    void SelectText_Change(int index);
    void CountText_Change(int index);
    void Texthwnd3_Change(int index);
    void ClearCommand_Click();
    void ShuZi_Click(int index); // 数字
    void GeShu_Click(int index); // 个数
    void Command1_Click(int index);
    void CheckLu_Click(int index);

    // Base set, plan and kill lists.
    void SuishuiCmd_Click();
    void PlanCmd_Click();
    void PlanText_Change();

    FormState& m_form;
    std::array<QRadioButton*, kGroupCount> m_weiOption{};
    std::array<QCheckBox*, kCheckCount> m_selectCheck{};
    std::array<QLineEdit*, 5> m_selectText{};
    std::array<QLineEdit*, 5> m_countText{};
    std::array<QLineEdit*, 3> m_texthwnd3{};
    std::array<QWidget*, 3> m_digitPickSlots{};
    std::array<QPushButton*, 30> m_shuZi{};
    std::array<bool, 30> m_shuZiSelected{};
    bool m_renewNoteShown = false; // the note on typed selections was given
    std::array<QPushButton*, 10> m_geShu{};
    std::array<bool, 10> m_geShuSelected{};
    std::array<QPushButton*, 2> m_command1{};
    std::array<QCheckBox*, 4> m_checkLu{};
    QWidget* m_picture2 = nullptr;
    QCheckBox* m_checkAuto = nullptr;
    QCheckBox* m_check1 = nullptr;
    QPushButton* m_clearCommand = nullptr;
    std::array<KillListPanel*, 2> m_killPanels{}; // Picture9: three- and four-digit lists
    BaseSetColumn* m_baseColumn = nullptr;        // base set, copy, start, clear, delay
    QPlainTextEdit* m_planText = nullptr;
};

} // namespace zuohao::gui
