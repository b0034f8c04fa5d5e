#pragma once
// The windows of this program itself: the widget under a point, read as a line edit, a
// plain-text or rich-text box or a label. Works on every platform and offscreen.
#include <QPointer>
#include <QWidget>
#include <map>

#include "gui/winlink/WindowLink.h"

namespace zuohao::gui {

class OwnWidgetLink : public WindowLink {
public:
    std::optional<WindowHit> windowAt(const QPoint& screenPos) override;
    bool exists(WindowHandle handle) override;
    WindowRead readText(WindowHandle handle) override;

    // The widget a handle denotes (nullptr when unknown or destroyed).
    QWidget* widget(WindowHandle handle) const;
    // The handle of a widget, handing out a new one the first time.
    WindowHandle handleOf(QWidget* widget);

    // The text a widget shows: a line edit's, a text box's or a label's text; for any
    // other top-level window its title; else empty.
    static QString widgetText(const QWidget* widget);
    // The readable widget for a point inside `w`: `w` itself or the nearest ancestor that
    // shows text (a text box's viewport steps up to the box); `w` when there is none.
    static QWidget* readableWidget(QWidget* w);

private:
    std::map<WindowHandle, QPointer<QWidget>> m_widgets;
    WindowHandle m_next = 1;
};

} // namespace zuohao::gui
