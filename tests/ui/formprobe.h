#pragma once

// Reading a drawn form back: where a control sits, what it says, and where Tab goes.

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QTest>

namespace velk::test {

// Twips to logical pixels, rounded to the nearest.
inline int px(int twips) {
    return (twips + 7) / 15;
}

inline QRect pixels(const QRect& twips) {
    return QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
}

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
