#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace velk {

// Typefaces of the drawn windows, each with close equivalents that exist on Windows, under
// Wine and on a Linux desktop.
enum class Face {
    Standard, // the windows' default, "MS Sans Serif"
    Arial,
    Tahoma,
};

QFont makeFont(Face face, qreal points, bool bold = false, bool italic = false);

// The windows' default: "MS Sans Serif" 8.25 points, regular.
QFont standardFont();

// Paints the widget's own background in `colour` instead of letting its parent show through.
void fillBackground(QWidget* widget, const QColor& colour);

// Moves a top-level window to the middle of the screen it is about to appear on.
void centreOnScreen(QWidget* window);

} // namespace velk
