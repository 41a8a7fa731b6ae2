#include "ui/artwork.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: nothing would pull them into the program unless
// something refers to them.
static void initArtwork() {
    Q_INIT_RESOURCE(resources);
}

namespace velk {

namespace {

void ensureResources() {
    static const bool registered = (initArtwork(), true);
    Q_UNUSED(registered);
}

QPixmap render(const QString& resource, const QSize& size, qreal ratio) {
    ensureResources();
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QPixmap renderImage(const QString& resource, const QSize& size) {
    return render(resource, size, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QIcon programIcon() {
    ensureResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/velk-pro-%1.png").arg(size), QSize(size, size));
    return icon;
}

QCursor handPointer() {
    // The tip of the index finger is the hot spot.
    return QCursor(render(artwork::kHandCursor, QSize(32, 32), 1.0), 10, 1);
}

} // namespace velk
