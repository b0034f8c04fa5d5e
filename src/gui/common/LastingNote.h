#pragma once
// A note that stays until the player has read it: a line of text with a "知道了" button that
// dismisses it. For what the status line would lose at its next write (a refresh every few
// seconds): where the settings are kept, where a file was exported, a file set aside.
#include <QFrame>

class QLabel;
class QPushButton;

namespace zuohao::gui {

class LastingNote : public QFrame {
    Q_OBJECT
public:
    explicit LastingNote(QWidget* parent = nullptr);

    // Shows `text` (under a note not yet dismissed) until the player dismisses it.
    void showNote(const QString& text);
    void dismiss();
    QString text() const;

signals:
    void dismissed();

private:
    QLabel* m_text = nullptr;
    QPushButton* m_dismiss = nullptr;
};

} // namespace zuohao::gui
