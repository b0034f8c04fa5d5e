#pragma once
// Small builders the conditions panel's parts share: named controls, list boxes and the
// holders a picked-window hand is put into.
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QString>
#include <QTextOption>
#include <QWidget>

namespace zuohao::gui {

template <class W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

// A box for a list of numbers: wrapped at any place, Tab goes on to the next control.
inline QPlainTextEdit* plainBox(const QString& name, QWidget* parent) {
    auto* e = named(new QPlainTextEdit(parent), name);
    e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    e->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    e->setTabChangesFocus(true); // a list holds no tabs
    return e;
}

// An empty holder a picked-window hand is later put into.
inline QWidget* handSlot(QWidget* parent) {
    auto* slot = new QWidget(parent);
    auto* l = new QHBoxLayout(slot);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    return slot;
}

} // namespace zuohao::gui
