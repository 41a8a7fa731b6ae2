#pragma once

// Reading a drawn form back: where a control sits, what it says, and where Tab goes.

#include "ui/twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QTest>

namespace velk::test {

// Where a control sits in the window's client area, whatever frame holds it.
inline QRect windowRect(const QWidget* window, const QWidget* widget) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// The named control that owns `widget` (a combo box's field belongs to the combo box).
inline QString owningName(QWidget* widget) {
    while (widget && widget->objectName().isEmpty())
        widget = widget->parentWidget();
    return widget ? widget->objectName() : QString();
}

inline QString captionOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    return QStringLiteral("<no caption>");
}

// The names of the controls the focus visits: where it stands now, then `steps` presses of Tab.
inline QStringList tabWalk(int steps) {
    QStringList seen = {owningName(QApplication::focusWidget())};
    for (int step = 0; step < steps; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << owningName(QApplication::focusWidget());
    }
    return seen;
}

} // namespace velk::test
