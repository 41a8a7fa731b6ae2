#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace velk {

// Draws the SVG file at `pixels` on a transparent background; a null image when the file
// cannot be read as SVG.
QImage renderSvgPicture(const QString& svgFile, const QSize& pixels);

} // namespace velk
