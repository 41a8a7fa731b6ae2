#include "ui/artwork.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QResource>

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

} // namespace

QImage carriedPicture(const Picture& picture, int scale) {
    ensureResources();
    const QSize pixels = picture.size * scale;
    const QByteArray bytes =
        QResource(QStringLiteral(":/images/") + pictureFileName(picture, scale)).uncompressedData();
    if (bytes.size() != qsizetype(pixels.width()) * pixels.height() * 4)
        return {};
    // The copy made here lets the bytes go.
    return QImage(reinterpret_cast<const uchar*>(bytes.constData()), pixels.width(),
                  pixels.height(), pixels.width() * 4, kPictureFormat)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QPixmap picturePixmap(const Picture& picture) {
    return picturePixmap(picture, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QPixmap picturePixmap(const Picture& picture, qreal ratio) {
    int scale = artwork::kScales.back();
    for (int carried : artwork::kScales) {
        if (carried >= ratio) {
            scale = carried;
            break;
        }
    }
    QImage image = carriedPicture(picture, scale);
    const QSize pixels = (QSizeF(picture.size) * ratio).toSize();
    if (image.size() != pixels)
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon programIcon() {
    ensureResources();
    QIcon icon;
    // Read as PNG, and only as PNG: a reader that may guess the format asks every image format
    // plugin first, loading each (and Qt's SVG module with one of them). The larger sizes come
    // from the icon theme through the desktop entry; the window's own icon stays in memory for
    // the whole run.
    for (int size : {16, 32, 48, 64}) {
        QImageReader reader(QStringLiteral(":/icons/velk-pro-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

QCursor handPointer() {
    // Cursors are drawn in device pixels. The tip of the index finger is the hot spot.
    return QCursor(picturePixmap(artwork::kHandCursor, 1.0), 10, 1);
}

} // namespace velk
