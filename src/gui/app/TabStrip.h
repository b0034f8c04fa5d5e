#pragma once
// The lottery tabs: one per lottery, in list order, in a strip that scrolls sideways when they
// do not fit. A tab whose lottery raised 告警 while another tab was shown carries a mark (and
// says so to a screen reader) until the player shows it. Ctrl+PgDn and Ctrl+PgUp step through
// the tabs from the keyboard.
#include <QScrollArea>
#include <QStringList>
#include <vector>

class QFrame;
class QHBoxLayout;

namespace zuohao::gui {

class TabLabel;

class TabStrip : public QScrollArea {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);

    // One tab per name, each with its tooltip; the marks and the highlight start afresh.
    void setTabs(const QStringList& names, const QStringList& tips);
    int count() const { return int(m_labels.size()); }
    TabLabel* label(int index) const;
    void setTip(int index, const QString& tip);
    // Highlights the tab of the lottery shown; its mark goes.
    void highlight(int index);
    // Marks a tab whose lottery raised an alarm out of sight.
    void markAlarm(int index);
    bool marked(int index) const;

signals:
    void tabClicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTab(int index);
    // Asks for the tab `by` places from the one shown, round the ends.
    void showNext(int by);
    void fitHeight();

    QWidget* m_row = nullptr;
    QHBoxLayout* m_layout = nullptr;
    std::vector<QFrame*> m_frames;
    std::vector<TabLabel*> m_labels;
    QStringList m_names;
    std::vector<bool> m_marks;
    int m_current = -1;
};

} // namespace zuohao::gui
