#include "gui/winlink/OwnWidgetLink.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace zuohao::gui {

namespace {
bool isReadable(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QLabel*>(w);
}

// Windows that only draw on the screen (the outline shown while a hand is dragged) are not
// windows the pointer can be over.
bool takesInput(const QWidget* w) {
    return !w->testAttribute(Qt::WA_TransparentForMouseEvents) &&
           !w->windowFlags().testFlag(Qt::WindowTransparentForInput);
}

// The top-level window of this program at a point. The platform knows the stacking order
// (on X11 it asks the server, and another program's window over ours hides ours). Where it
// knows only rectangles it may answer with a window that takes no input; then the visible
// windows that do are searched, the active one first.
QWidget* topLevelAt(const QPoint& pos) {
    QWidget* top = QApplication::topLevelAt(pos);
    if (!top || takesInput(top)) return top;
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && takesInput(active) &&
        active->frameGeometry().contains(pos))
        return active;
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (auto it = tops.crbegin(); it != tops.crend(); ++it) {
        QWidget* w = *it;
        if (w->isVisible() && !w->isMinimized() && takesInput(w) && w->geometry().contains(pos))
            return w;
    }
    return nullptr;
}
} // namespace

QWidget* OwnWidgetLink::readableWidget(QWidget* w) {
    for (QWidget* p = w; p; p = p->isWindow() ? nullptr : p->parentWidget())
        if (isReadable(p)) return p;
    return w;
}

QString OwnWidgetLink::widgetText(const QWidget* w) {
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(w)) return e->toPlainText();
    if (auto* e = qobject_cast<const QTextEdit*>(w)) return e->toPlainText();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (w && w->isWindow()) return w->windowTitle();
    return {};
}

std::optional<WindowHit> OwnWidgetLink::windowAt(const QPoint& screenPos) {
    QWidget* top = topLevelAt(screenPos);
    if (!top) return std::nullopt;
    QWidget* child = top->childAt(top->mapFromGlobal(screenPos));
    QWidget* w = readableWidget(child ? child : top);
    const QRect rect =
        w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    return WindowHit{handleOf(w), rect};
}

WindowHandle OwnWidgetLink::handleOf(QWidget* widget) {
    for (auto it = m_widgets.begin(); it != m_widgets.end();) {
        if (it->second == widget) return it->first;
        // A destroyed widget's handle stays unknown for good; its number is not reused.
        it = it->second.isNull() ? m_widgets.erase(it) : std::next(it);
    }
    const WindowHandle handle = m_next++;
    m_widgets.emplace(handle, widget);
    return handle;
}

QWidget* OwnWidgetLink::widget(WindowHandle handle) const {
    auto it = m_widgets.find(handle);
    return it == m_widgets.end() ? nullptr : it->second.data();
}

bool OwnWidgetLink::exists(WindowHandle handle) {
    return widget(handle) != nullptr;
}

WindowRead OwnWidgetLink::readText(WindowHandle handle) {
    const QWidget* w = widget(handle);
    if (!w) return {{}, ReadStatus::Gone};
    return {widgetText(w).left(MaxWindowTextLength), ReadStatus::Ok};
}

} // namespace zuohao::gui
