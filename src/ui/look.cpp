#include "ui/look.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <map>

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

bool isInstalled(const QStringList& installed, const QString& family) {
    for (const QString& name : installed) {
        // Families some foundries share are listed as "Family [Foundry]".
        const QStringView plain = QStringView(name).left(name.indexOf(QLatin1String(" [")));
        if (plain.compare(family, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The first of the face's families this system has, found once. A font naming only that family
// spares Qt trying the missing ones, and asking the system for their fallbacks, for every size
// and weight; when none is present the whole list goes to Qt as it is.
QStringList resolvedFamilies(Face face) {
    static std::map<Face, QStringList> resolved;
    auto found = resolved.find(face);
    if (found == resolved.end()) {
        const QStringList wanted = families(face);
        const QStringList installed = QFontDatabase::families();
        QStringList picked = wanted;
        for (const QString& family : wanted) {
            if (isInstalled(installed, family)) {
                picked = QStringList{family};
                break;
            }
        }
        found = resolved.emplace(face, picked).first;
    }
    return found->second;
}

} // namespace

QFont makeFont(Face face, qreal points, bool bold, bool italic) {
    QFont font;
    font.setFamilies(resolvedFamilies(face));
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
