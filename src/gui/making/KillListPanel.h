#pragma once
// A kill-list panel (Picture9) of the conditions panel: the numbers a reduction takes out of
// the base set, three-digit (panel 0) or four-digit (panel 1). The box shows the accepted list
// of the current position group; a typed, pasted or transferred text is accepted once into
// the form's kill lists (the first line only) and stored as the active lottery's condition.
#include <QFrame>
#include <QList>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zuohao::gui {

struct FormState;

// The status-line note for a text of which only the first line was taken; empty when it had
// one line.
QString LinesLeftOutNote(const QString& text);

class KillListPanel : public QFrame {
    Q_OBJECT
public:
    KillListPanel(FormState& form, int k, QWidget* parent);

    // The accepted list of the current position group, as the box shows it.
    QString shownText() const;
    // Writes the accepted list into the box; the box's change stores it.
    void writeBox();
    // Loads the box from the form after a change of lottery or position: the list is stored
    // for the lottery, a running plan is not renewed.
    void showFormSet();
    // The panel of the current position group is white, the other grey.
    void setCurrent(bool current);
    void placeHand(QWidget* hand, QWidget* handleLabel);
    // Clear, paste, the box: in the order Tab goes through them.
    QList<QWidget*> tabChain() const;

signals:
    // The list was stored; with `renewPlan` a running plan is renewed with it.
    void stored(bool renewPlan);

private:
    void build();
    void clear();  // 清空 (Command2)
    void paste();  // 粘贴 (Command3)
    void edited(); // the box changed (TextKillDadi_Change)
    void store(bool renewPlan);
    void noteLinesLeftOut(const QString& text);

    FormState& m_form;
    const int m_k;
    QLabel* m_count = nullptr;       // Labelzhu: the count (注)
    QPushButton* m_clear = nullptr;  // Command2
    QPushButton* m_paste = nullptr;  // Command3
    QWidget* m_handSlot = nullptr;   // the picked-window hand and its handle label
    QPlainTextEdit* m_box = nullptr; // TextKillDadi
};

} // namespace zuohao::gui
