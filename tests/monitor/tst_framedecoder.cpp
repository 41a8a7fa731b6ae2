#include "monitor/lineformat.h"
#include "wire/framedecoder.h"

#include <QtTest>

using namespace velk;

namespace {
QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int value : values)
        out += char(value);
    return out;
}

const QByteArray kGroup = "/M05/H14/m03/Y07/D19";
const QStringList kGroupLines = {"clock minute 05", "clock hour 14",
                                 "clock month 03",  "clock year 07",
                                 "clock day 19",    "clock set to 14:05 on 19 March, year 07"};

QStringList describe(const std::vector<LineEvent>& events) {
    QStringList lines;
    for (const LineEvent& event : events)
        lines << describeEvent(event);
    return lines;
}

// The words and the bytes behind them, so a difference in either shows in a failure.
QStringList trace(const std::vector<LineEvent>& events) {
    QStringList lines;
    for (const LineEvent& event : events)
        lines << describeEvent(event) + QStringLiteral(" [") + hexBytes(event.bytes) + ']';
    return lines;
}

void append(std::vector<LineEvent>& to, const std::vector<LineEvent>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

std::vector<LineEvent> decodeWhole(const QByteArray& stream) {
    FrameDecoder decoder;
    std::vector<LineEvent> events = decoder.feed(stream);
    append(events, decoder.finish());
    return events;
}
} // namespace

class TestFrameDecoder : public QObject {
    Q_OBJECT
private slots:
    void decodes_data();
    void decodes();
    void decodesWhereverTheStreamIsSplit_data() { decodes_data(); }
    void decodesWhereverTheStreamIsSplit();
    void keepsEveryByte_data() { decodes_data(); }
    void keepsEveryByte();
    void noiseIsReportedOnFlushButFramesAreKept();
    void finishForgetsAPartialGroup();
};

void TestFrameDecoder::decodes_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing") << QByteArray() << QStringList();

    // Titles and clears, the address as a raw byte.
    QTest::newRow("title to address 5")
        << bytes({0x2F, 0x54, 0x05, 0x41, 0x42, 0x0D}) << QStringList{"title to address 5: \"AB\""};
    QTest::newRow("title to all devices")
        << QByteArray("/T\xFFTitle String ...\r")
        << QStringList{"title to all devices: \"Title String ...\""};
    QTest::newRow("clear address 3")
        << bytes({0x2F, 0x54, 0x03, 0x0D}) << QStringList{"clear address 3"};
    QTest::newRow("clear all devices")
        << bytes({0x2F, 0x54, 0xFF, 0x0D}) << QStringList{"clear all devices"};
    QTest::newRow("address 254") << QByteArray("/T\xFE"
                                               "A\r")
                                 << QStringList{"title to address 254: \"A\""};
    QTest::newRow("address byte equal to the start byte")
        << QByteArray("/T/A\r") << QStringList{"title to address 47: \"A\""};
    QTest::newRow("address byte equal to the terminator")
        << bytes({0x2F, 0x54, 0x0D, 0x0D}) << QStringList{"clear address 13"};
    QTest::newRow("title holding start bytes ends at the terminator")
        << QByteArray("/T\x05"
                      "a/M05/T\r/H14")
        << QStringList{"title to address 5: \"a/M05/T\"", "clock hour 14"};
    QTest::newRow("Latin-1 and control characters in a title")
        << QByteArray("/T\x01\xE9\x1B\"\r")
        << QStringList{QString::fromUtf8("title to address 1: \"\xC3\xA9\\x1B\\\"\"")};
    QTest::newRow("longest title")
        << "/T\x01" + QByteArray(255, 'A') + '\r'
        << QStringList{"title to address 1: \"" + QString(255, 'A') + '"'};

    // Clock frames, each alone and at the edges of their ranges.
    QTest::newRow("minute 00") << QByteArray("/M00") << QStringList{"clock minute 00"};
    QTest::newRow("minute 59") << QByteArray("/M59") << QStringList{"clock minute 59"};
    QTest::newRow("hour 23") << QByteArray("/H23") << QStringList{"clock hour 23"};
    QTest::newRow("month 01") << QByteArray("/m01") << QStringList{"clock month 01"};
    QTest::newRow("month 12") << QByteArray("/m12") << QStringList{"clock month 12"};
    QTest::newRow("year 99") << QByteArray("/Y99") << QStringList{"clock year 99"};
    QTest::newRow("day 31") << QByteArray("/D31") << QStringList{"clock day 31"};

    // Clock groups: summed up only for five frames in a row in the panel's order.
    QTest::newRow("clock group") << kGroup << kGroupLines;
    QTest::newRow("two groups") << kGroup + kGroup << kGroupLines + kGroupLines;
    QTest::newRow("group restarted by a new minute")
        << "/M00/H00" + kGroup << QStringList{"clock minute 00", "clock hour 00"} + kGroupLines;
    QTest::newRow("partial group")
        << QByteArray("/M05/H14/m03")
        << QStringList{"clock minute 05", "clock hour 14", "clock month 03"};
    QTest::newRow("group out of order")
        << QByteArray("/H14/M05/m03/Y07/D19")
        << QStringList{"clock hour 14", "clock minute 05", "clock month 03", "clock year 07",
                       "clock day 19"};
    QTest::newRow("group broken by a title")
        << QByteArray("/M05/H14/T\x01\r/m03/Y07/D19")
        << QStringList{"clock minute 05", "clock hour 14", "clear address 1",
                       "clock month 03",  "clock year 07", "clock day 19"};
    QTest::newRow("group broken by noise")
        << QByteArray("/M05/H14x/m03/Y07/D19")
        << QStringList{"clock minute 05", "clock hour 14", "INVALID 78 (outside any frame)",
                       "clock month 03",  "clock year 07", "clock day 19"};
    QTest::newRow("a date the month does not have")
        << QByteArray("/M00/H00/m02/Y07/D29")
        << QStringList{
               "clock minute 00", "clock hour 00",
               "clock month 02",  "clock year 07",
               "clock day 29",    "clock set to 00:00 on 29 February, year 07 (no such day)"};

    // Broken frames are flagged in hex and decoding goes on at the next start byte.
    QTest::newRow("garbage before the first start byte")
        << QByteArray("\x00\xFF\rA/M05", 8)
        << QStringList{"INVALID 00 FF 0D 41 (outside any frame)", "clock minute 05"};
    QTest::newRow("unknown letter, then a good frame")
        << QByteArray("/XAB/T\x05"
                      "AB\r")
        << QStringList{"INVALID 2F 58 41 42 (unknown command letter \"X\")",
                       "title to address 5: \"AB\""};
    QTest::newRow("letters are case-sensitive")
        << QByteArray("/t\x05"
                      "AB\r/M05")
        << QStringList{"INVALID 2F 74 05 41 42 0D (unknown command letter \"t\")",
                       "clock minute 05"};
    QTest::newRow("start byte where the letter belongs")
        << QByteArray("//M05")
        << QStringList{"INVALID 2F (unknown command letter \"/\")", "clock minute 05"};
    QTest::newRow("non-digit in a clock frame")
        << QByteArray("/M0x/H14")
        << QStringList{"INVALID 2F 4D 30 78 (minute frame without two digits)", "clock hour 14"};
    QTest::newRow("clock frame cut short by the next frame")
        << QByteArray("/M0/H14")
        << QStringList{"INVALID 2F 4D 30 (minute frame without two digits)", "clock hour 14"};
    QTest::newRow("minute 60") << QByteArray("/M60")
                               << QStringList{
                                      "INVALID 2F 4D 36 30 (minute 60 out of range 00 to 59)"};
    QTest::newRow("hour 24") << QByteArray("/H24")
                             << QStringList{"INVALID 2F 48 32 34 (hour 24 out of range 00 to 23)"};
    QTest::newRow("month 00") << QByteArray("/m00")
                              << QStringList{
                                     "INVALID 2F 6D 30 30 (month 00 out of range 01 to 12)"};
    QTest::newRow("month 13") << QByteArray("/m13")
                              << QStringList{
                                     "INVALID 2F 6D 31 33 (month 13 out of range 01 to 12)"};
    QTest::newRow("day 00") << QByteArray("/D00")
                            << QStringList{"INVALID 2F 44 30 30 (day 00 out of range 01 to 31)"};
    QTest::newRow("day 32") << QByteArray("/D32")
                            << QStringList{"INVALID 2F 44 33 32 (day 32 out of range 01 to 31)"};
    QTest::newRow("value out of range breaks a group")
        << QByteArray("/M05/H24/m03/Y07/D19")
        << QStringList{"clock minute 05", "INVALID 2F 48 32 34 (hour 24 out of range 00 to 23)",
                       "clock month 03", "clock year 07", "clock day 19"};
    QTest::newRow("address 0") << QByteArray("/T\x00"
                                             "AB\r/M05",
                                             10)
                               << QStringList{
                                      "INVALID 2F 54 00 41 42 0D (title frame to address 0)",
                                      "clock minute 05"};
    QTest::newRow("lost terminator, start byte inside the title")
        << "/T\x01"
           "AB" +
               kGroup + QByteArray(300, 'C') + '\r'
        << QStringList{"INVALID 2F 54 01 41 42 (title longer than 255 bytes without terminator "
                       "0D)"} +
               kGroupLines +
               QStringList{"INVALID " + hexBytes(QByteArray(300, 'C') + '\r') +
                           " (outside any frame)"};
    QTest::newRow("lost terminator, no start byte inside the title")
        << "/T\x01" + QByteArray(300, 'C') + "/M05"
        << QStringList{"INVALID " + hexBytes("/T\x01" + QByteArray(300, 'C')) +
                           " (title longer than 255 bytes without terminator 0D)",
                       "clock minute 05"};
    QTest::newRow("frame cut off at the end")
        << QByteArray("/M05/T\x05"
                      "AB")
        << QStringList{"clock minute 05",
                       "INVALID 2F 54 05 41 42 (frame cut off when monitoring ended)"};
    QTest::newRow("noise at the end")
        << QByteArray("/M05zz")
        << QStringList{"clock minute 05", "INVALID 7A 7A (outside any frame)"};
    // Without a start byte noise is shown in pieces, so none waits and memory stays flat.
    const int longest = FrameDecoder::kMaxNoiseRun;
    QTest::newRow("a long run of noise in pieces")
        << QByteArray(2 * longest + 3, '\0') + "/M05"
        << QStringList{"INVALID " + hexBytes(QByteArray(longest, '\0')) + " (outside any frame)",
                       "INVALID " + hexBytes(QByteArray(longest, '\0')) + " (outside any frame)",
                       "INVALID 00 00 00 (outside any frame)", "clock minute 05"};
    QTest::newRow("a rejected frame counts into its run")
        << "/X" + QByteArray(longest, 'z')
        << QStringList{"INVALID " + hexBytes("/X" + QByteArray(longest - 2, 'z')) +
                           " (unknown command letter \"X\")",
                       "INVALID 7A 7A (outside any frame)"};
}

void TestFrameDecoder::decodes() {
    QFETCH(QByteArray, stream);
    QFETCH(QStringList, expected);
    QCOMPARE(describe(decodeWhole(stream)), expected);
}

void TestFrameDecoder::decodesWhereverTheStreamIsSplit() {
    QFETCH(QByteArray, stream);
    const QStringList whole = trace(decodeWhole(stream));

    // Every cut of a short stream; a long run of noise is cut in a few hundred places.
    const int step = qMax(1, int(stream.size() / 256));
    for (int cut = 1; cut < stream.size(); cut += step) {
        FrameDecoder decoder;
        std::vector<LineEvent> events = decoder.feed(stream.left(cut));
        append(events, decoder.feed(stream.mid(cut)));
        append(events, decoder.finish());
        QVERIFY2(trace(events) == whole, qPrintable(QStringLiteral("split at byte %1").arg(cut)));
    }

    FrameDecoder decoder;
    std::vector<LineEvent> events;
    for (const char byte : stream)
        append(events, decoder.feed(QByteArray(1, byte)));
    append(events, decoder.finish());
    QCOMPARE(trace(events), whole);
}

void TestFrameDecoder::keepsEveryByte() {
    QFETCH(QByteArray, stream);
    QByteArray seen;
    for (const LineEvent& event : decodeWhole(stream))
        seen += event.bytes;
    QCOMPARE(seen, stream);
}

void TestFrameDecoder::noiseIsReportedOnFlushButFramesAreKept() {
    FrameDecoder decoder;
    QCOMPARE(describe(decoder.feed("zz")), QStringList());
    QVERIFY(decoder.holdsNoise());
    QCOMPARE(describe(decoder.flushNoise()), QStringList{"INVALID 7A 7A (outside any frame)"});
    QVERIFY(!decoder.holdsNoise());
    QCOMPARE(describe(decoder.flushNoise()), QStringList());

    QCOMPARE(describe(decoder.feed("/T\x05"
                                   "A")),
             QStringList());
    QCOMPARE(describe(decoder.flushNoise()), QStringList());
    QCOMPARE(describe(decoder.feed("B\r")), QStringList{"title to address 5: \"AB\""});
}

void TestFrameDecoder::finishForgetsAPartialGroup() {
    FrameDecoder decoder;
    decoder.feed("/M05/H14/m03/Y07");
    QCOMPARE(describe(decoder.finish()), QStringList());
    QCOMPARE(describe(decoder.feed("/D19")), QStringList{"clock day 19"});
}

QTEST_GUILESS_MAIN(TestFrameDecoder)
#include "tst_framedecoder.moc"
