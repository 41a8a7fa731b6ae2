#include "protocol/frames.h"

#include <QtTest>

using namespace velk;

class TestFrames : public QObject {
    Q_OBJECT

private slots:
    void addressByte_data() {
        QTest::addColumn<int>("listIndex");
        QTest::addColumn<int>("address"); // -1: none
        QTest::newRow("Master reaches all") << 0 << 255;
        QTest::newRow("first") << 1 << 1;
        QTest::newRow("middle") << 5 << 5;
        QTest::newRow("last") << 254 << 254;
        QTest::newRow("nothing selected") << -1 << -1;
        QTest::newRow("past the list") << 255 << -1;
        QTest::newRow("far past the list") << 1000 << -1;
    }
    void addressByte() {
        QFETCH(int, listIndex);
        QFETCH(int, address);
        const std::optional<quint8> byte = frames::addressByte(listIndex);
        QCOMPARE(byte.has_value(), address >= 0);
        if (byte)
            QCOMPARE(int(*byte), address);
    }

    void payload_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII") << "AB" << QByteArray("AB");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("slash and carriage return go out unchanged")
            << "a/b\rc" << QByteArray("a/b\rc");
        QTest::newRow("Latin-1 letters") << QString::fromUtf8("Grüße ÿ")
                                         << QByteArray("Gr\xFC\xDF"
                                                       "e \xFF");
        QTest::newRow("beyond Latin-1 skipped") << QString::fromUtf8("1€2Ω3") << QByteArray("123");
        QTest::newRow("emoji skipped as one character")
            << QString::fromUtf8("A😀B") << QByteArray("AB");
        QTest::newRow("lone surrogate skipped")
            << (QString("A") + QChar(0xD83D) + "B") << QByteArray("AB");
        QTest::newRow("NUL is a character") << QString(QChar(0)) << QByteArray(1, '\0');
    }
    void payload() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(frames::latin1Payload(text), bytes);
    }

    void titleFrame() {
        QCOMPARE(frames::titleFrame(5, "AB"), QByteArray::fromHex("2F540541420D"));
        QCOMPARE(frames::clearFrame(254), QByteArray::fromHex("2F54FE0D"));
    }

    void clockFrame_data() {
        QTest::addColumn<char>("letter");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("minute") << 'M' << "05" << QByteArray("/M05");
        QTest::newRow("hour") << 'H' << "14" << QByteArray("/H14");
        QTest::newRow("month is lower case") << 'm' << "03" << QByteArray("/m03");
        QTest::newRow("year") << 'Y' << "00" << QByteArray("/Y00");
        QTest::newRow("day") << 'D' << "31" << QByteArray("/D31");
        QTest::newRow("first and last character") << 'D' << "123" << QByteArray("/D13");
    }
    void clockFrame() {
        QFETCH(char, letter);
        QFETCH(QString, value);
        QFETCH(QByteArray, frame);
        QCOMPARE(frames::clockFrame(letter, value), frame);
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
