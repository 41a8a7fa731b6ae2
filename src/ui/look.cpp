#include "ui/look.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStringList>
#include <QWidget>

namespace velk {

namespace {

QStringList families(Face face) {
    switch (face) {
    case Face::Arial:
        return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                QStringLiteral("Arimo")};
    case Face::Tahoma:
        return {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                QStringLiteral("Liberation Sans")};
    case Face::Standard:
        break;
    }
    // "MS Sans Serif" is a bitmap font that does not scale to 8.25 points; Windows has the same
    // design scalable as "Microsoft Sans Serif", and Tahoma stands in where neither exists.
    return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
            QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
}

} // namespace

QFont makeFont(Face face, qreal points, bool bold, bool italic) {
    QFont font;
    font.setFamilies(families(face));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont standardFont() {
    return makeFont(Face::Standard, 8.25);
}

void fillBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    // Buttons paint their background in the button colour, other widgets in the window colour.
    palette.setColor(widget->backgroundRole(), colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace velk
