// velk-artwork: renders the program's pictures from their SVG drawings into the PNGs the
// program carries. Run through scripts/render-artwork after changing a drawing.
//
//   velk-artwork SVG_FOLDER OUT_FOLDER

#include "svgpicture.h"
#include "ui/artwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        err << "usage: velk-artwork SVG_FOLDER OUT_FOLDER\n";
        return 2;
    }
    const QDir from(args[1]);
    const QDir to(args[2]);
    int failed = 0;
    for (const velk::Picture& picture : velk::artwork::kAll) {
        const QString svg = from.filePath(QLatin1String(picture.name) + QStringLiteral(".svg"));
        for (int scale : velk::artwork::kScales) {
            const QString out = to.filePath(velk::pictureFileName(picture, scale));
            const QImage image = velk::renderSvgPicture(svg, picture.size * scale)
                                     .convertToFormat(velk::kPictureFormat);
            QFile file(out);
            if (image.isNull() || !file.open(QIODevice::WriteOnly) ||
                file.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()) !=
                    image.sizeInBytes()) {
                err << "velk-artwork: cannot render " << svg << " into " << out << "\n";
                ++failed;
            }
        }
    }
    return failed == 0 ? 0 : 1;
}
