#pragma once
// The base-set column of the conditions panel: the base set (大底) box with its two copy
// buttons, the start (开始缩水) and clear (清除计划) buttons, and the delay box with its
// countdown. The box shows the active lottery's base set, rendered once per change; a
// player's edit of it is read once into the lottery's set.
#include <QString>
#include <QWidget>

#include "core/model/NumberList.h"
#include "core/model/Result.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

struct FormState;

class BaseSetColumn : public QWidget {
    Q_OBJECT
public:
    BaseSetColumn(FormState& form, QWidget* parent);

    // The active lottery's base set, and its text as the box shows it.
    const NumberList& baseSet() const;
    QString baseText() const;
    // Shows the base set in the box (never read back) and its counts in the copy buttons'
    // captions: after every change of the base set.
    void showBaseSet();
    // A base set made by `make` (StartPlan, RenewPlan) and shown; a failure goes to the
    // status line and leaves the set as it was.
    void showNewBaseSet(Result<std::string> (LotteryClass::*make)());
    // The start and clear buttons as a running plan (or none) has them.
    void showPlanButtons(bool planRuns);
    // The countdown display (LabelYanchi), in seconds.
    void setCountdown(int seconds);
    // The delay box: a value from the program, normalised and stored at once.
    void setDelay(int seconds);
    // Ends an edit of the delay box still open (as Enter would).
    void commitDelay();
    // The box, the copy buttons, start, clear and the delay box, in Tab order.
    QList<QWidget*> tabChain() const;

signals:
    void startClicked(); // 开始缩水
    void clearClicked(); // 清除计划

private:
    void build();
    void wire();
    void ShowDadiText_Change();
    void showBaseCaptions();
    void CopyDadiCmd_Click();
    void CommandFanji_Click();
    void TextYanchi_Change();
    void tell(const QString& text) const;

    FormState& m_form;
    QPlainTextEdit* m_showDadiText = nullptr;
    QPushButton* m_copyDadiCmd = nullptr;
    QPushButton* m_commandFanji = nullptr;
    QPushButton* m_suishuiCmd = nullptr;
    QPushButton* m_planCmd = nullptr;
    QLineEdit* m_textYanchi = nullptr;
    QLabel* m_labelYanchi = nullptr;
    bool m_renderingBase = false;      // the box is being written from the base set
    bool m_planButtonsRunning = false; // the buttons show a running plan
};

// The status-line note on a typed base set: how many pieces named no number and how many
// numbers came twice, and how many numbers it holds.
QString BaseSetReadNote(int unreadable, int repeated, int kept);

} // namespace zuohao::gui
