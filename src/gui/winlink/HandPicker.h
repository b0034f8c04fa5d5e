#pragma once
// The five hand icons PictureHand_0..4 with their labels LabelHwnd_0..4: press a hand,
// drag it over a window of any program (the window under the pointer is outlined every
// 300 ms by TimerHwnd), release, and that window is picked for the hand. The picked handle
// is written into LabelHwnd_i ("0" = none) and windowPicked(i, handle) is emitted; the
// main window then reads the window.
//
// The hands and labels are children of the picker and laid out in a grid; the main window
// may move them into its own panels (the drag keeps working wherever they live).
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "gui/winlink/WindowLink.h"

namespace zuohao::gui {

class OutlineFrame;

class HandPicker : public QWidget {
    Q_OBJECT
public:
    static constexpr int HandCount = 5;
    static constexpr int HighlightInterval = 300; // ms between two looks under the pointer

    explicit HandPicker(WindowLink& link, QWidget* parent = nullptr);
    ~HandPicker() override;

    QLabel* hand(int i) const { return m_hands.at(i); }         // PictureHand_i
    QLabel* handleLabel(int i) const { return m_labels.at(i); } // LabelHwnd_i
    // The window picked for hand i: the number in LabelHwnd_i (0 = none).
    WindowHandle pickedWindow(int i) const;
    // Hand i forgets its window: LabelHwnd_i = "0" and the hand at rest.
    void clearPick(int i);
    // Hand i shows `handle` as its picked window (0: none), as a drag would leave it.
    void showPick(int i, WindowHandle handle);

    bool isDragging() const { return m_dragging; }
    WindowHandle hoverWindow() const { return m_hover; }
    QRect hoverRect() const { return m_hoverRect; }
    QTimer* highlightTimer() { return &m_timer; } // TimerHwnd
    OutlineFrame* outline() const { return m_outline.get(); }

    // Where the pointer is (screen coordinates); QCursor::pos() unless a test sets another.
    void setPointerSource(std::function<QPoint()> source);

signals:
    // Hand `index` has picked the window `handle` (already written into LabelHwnd_i).
    void windowPicked(int index, quint64 handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(int i);
    void release(int i);
    void highlight();
    int handIndex(QObject* o) const;

    WindowLink& m_link;
    std::array<QLabel*, HandCount> m_hands{};
    std::array<QLabel*, HandCount> m_labels{};
    QTimer m_timer;
    std::unique_ptr<OutlineFrame> m_outline;
    std::function<QPoint()> m_pointer;
    bool m_dragging = false;
    bool m_inHighlight = false;
    int m_dragHand = -1;
    WindowHandle m_hover = 0; // HoverWindow: kept after a drag
    QRect m_hoverRect;        // HoverRect
};

} // namespace zuohao::gui
