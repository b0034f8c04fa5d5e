#pragma once
// The conditions panel and the base-set box of the main window, put together from small
// parts: the position column (PlanOptions), the banker and span box (BankerButtons), the
// route and extra-digit box (RouteSwitches), the selection groups over the history grid
// (SelectionGroups), the two kill-list panels (KillListPanel), the base-set column
// (BaseSetColumn) and the plan text. Each part shows the active lottery's conditions and
// stores a player's edit through the lottery's façade at once; the panel wires the parts to
// each other and starts and clears the plan.
#include <QList>
#include <QString>
#include <QWidget>
#include <array>

#include "core/model/ConditionSet.h"
#include "core/model/Groups.h"
#include "core/model/Result.h"
#include "gui/making/FormState.h"
#include "gui/making/SelectionGroups.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

class BankerButtons;
class BaseSetColumn;
class KillListPanel;
class PlanOptions;
class RouteSwitches;

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
    void buildPlanArea(QLayout* row);
    void wire();
    void colourKillPanels(int w);
    void showPlanButtons(bool planRuns);

    // Between the parts.
    void SelectCheck_Click(int index);
    void Texthwnd3_Change(int index);
    // A kill list was stored: a running plan is renewed with it when `renewPlan`.
    void killListStored(bool renewPlan);

    // Base set and plan.
    void SuishuiCmd_Click();
    void PlanCmd_Click();
    void PlanText_Change();

    FormState& m_form;
    PlanOptions* m_options = nullptr;             // position, 自动做号, 大底反集
    BankerButtons* m_bankers = nullptr;           // 胆码 · 跨度
    RouteSwitches* m_routes = nullptr;            // 杀路数 · 加码
    SelectionGroups* m_groups = nullptr;          // selection boxes, digits and counts
    std::array<KillListPanel*, 2> m_killPanels{}; // Picture9: three- and four-digit lists
    BaseSetColumn* m_baseColumn = nullptr;        // base set, copy, start, clear, delay
    QPlainTextEdit* m_planText = nullptr;
};

} // namespace zuohao::gui
