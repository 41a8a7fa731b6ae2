#include "support/systemset.h"
#include "wire/framedecoder.h"
#include "wire/frames.h"

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
    // Every entry of the address list names the byte its position sends, and no position
    // outside the list sends one.
    void addressListMatchesTheBytes() {
        const QStringList entries = frames::addressEntries();
        QCOMPARE(entries.first(), QStringLiteral("Master"));
        QCOMPARE(entries.last(), QStringLiteral("254"));
        for (int position = 1; position < entries.size(); ++position)
            QCOMPARE(entries.at(position), QString::number(*frames::addressByte(position)));
        QVERIFY(!frames::addressByte(int(entries.size())));
    }

    // The title frame's payload: what the line can carry, never a control byte.
    void payload_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII") << "AB" << QByteArray("AB");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("slash goes out unchanged") << "a/b" << QByteArray("a/b");
        QTest::newRow("Latin-1 letters") << QString::fromUtf8("Grüße ÿ")
                                         << QByteArray("Gr\xFC\xDF"
                                                       "e \xFF");
        QTest::newRow("beyond the set left out")
            << QString::fromUtf8("1€2Ω3") << "1" + velk::test::euroBytes() + "23";
        QTest::newRow("emoji left out as one character")
            << QString::fromUtf8("A😀B") << QByteArray("AB");
        QTest::newRow("lone surrogate left out")
            << (QString("A") + QChar(0xD83D) + "B") << QByteArray("AB");
        QTest::newRow("line breaks cannot end the frame early") << "A\r\nB\nC" << QByteArray("ABC");
        QTest::newRow("escape, tab, DEL, NUL")
            << (QString("\x1b[2J\tx\x7f") + QChar(0)) << QByteArray("[2Jx");
        QTest::newRow("C1 controls")
            << (QString("a") + QChar(0x85) + QChar(0x9B) + "b") << QByteArray("ab");
        QTest::newRow("no-break space is printable") << QString(QChar(0xA0)) << QByteArray("\xA0");
    }
    void payload() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const QByteArray frame = frames::titleFrame(7, text);
        QCOMPARE(frame.mid(3, frame.size() - 4), bytes);
        for (const char byte : frame.mid(3, frame.size() - 4))
            QVERIFY(quint8(byte) >= 0x20 && quint8(byte) != 0x7F);
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

    // What the panel encodes, the monitor's decoder reads back as the same frame.
    void decodesWhatItEncodes_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("text");
        QTest::addColumn<char>("letter");
        QTest::addColumn<int>("value");
        const int title = int(LineEvent::Kind::Title);
        const int clock = int(LineEvent::Kind::ClockField);
        QTest::newRow("title to all")
            << frames::titleFrame(*frames::addressByte(0), "Title String ...") << title << 255
            << "Title String ..." << char(0) << 0;
        QTest::newRow("title holding the frame bytes")
            << frames::titleFrame(47, "/M05/T") << title << 47 << "/M05/T" << char(0) << 0;
        QTest::newRow("Latin-1 title")
            << frames::titleFrame(254, QString::fromUtf8("Grüße ÿ")) << title << 254
            << QString::fromUtf8("Grüße ÿ") << char(0) << 0;
        QTest::newRow("clear") << frames::clearFrame(1) << int(LineEvent::Kind::Clear) << 1 << ""
                               << char(0) << 0;
        for (const frames::ClockField& field : frames::kClockFields) {
            for (const int value : {field.minimum, field.maximum}) {
                const QString digits = QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
                QTest::addRow("%s %d", field.name, value)
                    << frames::clockFrame(field.letter, digits) << clock << 0 << "" << field.letter
                    << value;
            }
        }
    }
    void decodesWhatItEncodes() {
        QFETCH(QByteArray, frame);
        FrameDecoder decoder;
        std::vector<LineEvent> events = decoder.feed(frame);
        QCOMPARE(events.size(), size_t(1));
        const LineEvent& event = events.front();
        QTEST(int(event.kind), "kind");
        QTEST(event.address, "address");
        QTEST(event.text, "text");
        QTEST(event.letter, "letter");
        QTEST(event.value, "value");
        QCOMPARE(event.bytes, frame);
        QVERIFY(decoder.finish().empty());
    }

    // A clock group in the order it goes out is read back as one clock setting.
    void clockGroupRoundTrip() {
        const QString values[frames::kClockFieldCount] = {"05", "14", "03", "07", "19"};
        FrameDecoder decoder;
        std::vector<LineEvent> events;
        for (int field = 0; field < frames::kClockFieldCount; ++field) {
            for (const LineEvent& event : decoder.feed(
                     frames::clockFrame(frames::kClockFields[field].letter, values[field])))
                events.push_back(event);
        }
        QCOMPARE(events.size(), size_t(frames::kClockFieldCount + 1));
        QCOMPARE(int(events.back().kind), int(LineEvent::Kind::ClockGroup));
        QCOMPARE(events.back().clock, (ClockSetting{5, 14, 3, 7, 19}));
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
