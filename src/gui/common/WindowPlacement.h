#pragma once
// Keeps a top-level window inside the available area of the main window's screen and brings
// it back to its last place and size (kept in the program's own settings) when that still
// fits. The place is written when a move or a resize has ended and when the window is
// hidden, by replacing the file in one step.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>

class QTimer;
class QWidget;

namespace zuohao::gui {

// Room a window manager takes around a window before it has shown its frame: the title bar
// above and a border on the other sides.
inline constexpr int kTitleAllowance = 32;
inline constexpr int kBorderAllowance = 8;

// The client rectangle of `wanted` made to fit `available` with `frame` around it: the size
// shrunk to the room there is (never below `minimum`), then the rectangle moved inside.
QRect FitInside(const QRect& wanted, const QRect& available, const QMargins& frame,
                const QSize& minimum = {});
// Whether `rect` with its frame lies wholly inside `available`.
bool FitsInside(const QRect& rect, const QRect& available, const QMargins& frame);

class WindowPlacement : public QObject {
    Q_OBJECT
public:
    // Places `window` (named `key` in the settings) at its first showing. `anchor` gives the
    // main window whose screen counts (the window itself when nullptr); `initial` gives the
    // place wanted when nothing is kept or what is kept no longer fits (sizes are clamped).
    WindowPlacement(QWidget* window, const QString& key, std::function<QRect()> initial,
                    QWidget* anchor = nullptr);

    // The file the places are kept in (a test may point it elsewhere).
    static QString storePath();
    static void setStorePath(const QString& path);

    // The kept place of `key`, an invalid rectangle when none is kept.
    static QRect kept(const QString& key);

    // Places the window now: its kept place when that fits the screen, else `initial`
    // fitted to the screen.
    void place();
    // Writes the window's place now.
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect availableArea() const;
    QMargins frameMargins() const;

    QWidget* m_window;
    QString m_key;
    std::function<QRect()> m_initial;
    QPointer<QWidget> m_anchor;
    QTimer* m_settle;      // a move or resize has ended when no other follows for a moment
    bool m_placed = false; // placed at its first showing
    bool m_placing = false;
};

// Keeps `window` inside the screen of `anchor` and at its last place; the first time (or
// when the kept place no longer fits) it takes the size it asked for and stands at `where`
// over `anchor`. The placement lives with the window.
WindowPlacement* PlaceOver(QWidget* window, const QString& key, QWidget* anchor,
                           Qt::Alignment where = Qt::AlignCenter);

} // namespace zuohao::gui
