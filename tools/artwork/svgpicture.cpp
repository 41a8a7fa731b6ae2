#include "svgpicture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace velk {

QImage renderSvgPicture(const QString& svgFile, const QSize& pixels) {
    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

} // namespace velk
