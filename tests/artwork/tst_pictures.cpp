// The pictures the program carries: the same pixels as their drawings, shown at the right size
// on any screen.

#include "svgpicture.h"
#include "ui/artwork.h"

#include <QDir>
#include <QTest>

using namespace velk;

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void carriedAsDrawn_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("scale");
        for (int index = 0; index < int(artwork::kAll.size()); ++index) {
            for (int scale : artwork::kScales)
                QTest::newRow(qPrintable(pictureFileName(artwork::kAll[index], scale)))
                    << index << scale;
        }
    }
    // A drawing changed without scripts/render-artwork leaves its renderings behind.
    void carriedAsDrawn() {
        QFETCH(int, index);
        QFETCH(int, scale);
        const Picture& picture = artwork::kAll[index];
        const QImage drawn =
            renderSvgPicture(QDir(QStringLiteral(VELK_ARTWORK_SOURCES))
                                 .filePath(QLatin1String(picture.name) + QStringLiteral(".svg")),
                             picture.size * scale);
        QVERIFY(!drawn.isNull());
        const QImage carried = carriedPicture(picture, scale);
        QCOMPARE(carried.size(), picture.size * scale);
        QVERIFY2(carried == drawn,
                 qPrintable(pictureFileName(picture, scale) + " differs from its drawing: run "
                                                              "scripts/render-artwork"));
    }

    void sizedForTheScreen_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("plain") << 1.0 << QSize(280, 120);
        QTest::newRow("between the carried scales") << 1.5 << QSize(420, 180);
        QTest::newRow("double") << 2.0 << QSize(560, 240);
        QTest::newRow("beyond the largest") << 3.0 << QSize(840, 360);
    }
    void sizedForTheScreen() {
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        const QPixmap pixmap = picturePixmap(artwork::kLogo, ratio);
        QCOMPARE(pixmap.size(), pixels);
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), artwork::kLogo.size);
    }

    void handPointer() {
        const QCursor hand = velk::handPointer();
        QCOMPARE(hand.shape(), Qt::BitmapCursor);
        QCOMPARE(hand.pixmap().size(), QSize(32, 32));
        QCOMPARE(hand.hotSpot(), QPoint(10, 1));
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
