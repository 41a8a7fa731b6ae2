#include "monitor/lineformat.h"
#include "monitor/linesummary.h"
#include "wire/framedecoder.h"

#include <QtTest>

using namespace velk;

class TestLineFormat : public QObject {
    Q_OBJECT
private slots:
    void lineStartsWithTheTimeInMilliseconds_data();
    void lineStartsWithTheTimeInMilliseconds();
    void quotesTitles_data();
    void quotesTitles();
    void describesClockSettings_data();
    void describesClockSettings();
    void summarises_data();
    void summarises();
};

void TestLineFormat::lineStartsWithTheTimeInMilliseconds_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("afternoon") << QTime(14, 5, 0, 12) << "14:05:00.012 clear address 3";
    QTest::newRow("midnight") << QTime(0, 0) << "00:00:00.000 clear address 3";
    QTest::newRow("last millisecond") << QTime(23, 59, 59, 999) << "23:59:59.999 clear address 3";
}

void TestLineFormat::lineStartsWithTheTimeInMilliseconds() {
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    LineEvent clear;
    clear.kind = LineEvent::Kind::Clear;
    clear.address = 3;
    QCOMPARE(formatLine(time, clear), expected);
}

void TestLineFormat::quotesTitles_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Title String ..."
                           << "\"Title String ...\"";
    QTest::newRow("empty") << ""
                           << "\"\"";
    QTest::newRow("quote and backslash") << "a\"b\\c"
                                         << "\"a\\\"b\\\\c\"";
    QTest::newRow("line breaks cannot split the line") << "a\nb\rc"
                                                       << "\"a\\x0Ab\\x0Dc\"";
    QTest::newRow("delete and C1 controls") << QString::fromLatin1("\x7F\x85") << "\"\\x7F\\x85\"";
    QTest::newRow("Latin-1 letters stay")
        << QString::fromLatin1("\xE9\xFF\xA0") << QString::fromLatin1("\"\xE9\xFF\xA0\"");
}

void TestLineFormat::quotesTitles() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(quoteText(text), expected);
}

void TestLineFormat::describesClockSettings_data() {
    QTest::addColumn<ClockSetting>("clock");
    QTest::addColumn<QString>("expected");
    // Fields in the order sent: minute, hour, month, year, day.
    QTest::newRow("afternoon") << ClockSetting{5, 14, 3, 7, 19} << "14:05 on 19 March, year 07";
    QTest::newRow("first moment") << ClockSetting{0, 0, 1, 0, 1} << "00:00 on 1 January, year 00";
    QTest::newRow("leap day") << ClockSetting{59, 23, 2, 8, 29} << "23:59 on 29 February, year 08";
    QTest::newRow("leap day of 2000")
        << ClockSetting{0, 12, 2, 0, 29} << "12:00 on 29 February, year 00";
    QTest::newRow("no leap day") << ClockSetting{0, 12, 2, 7, 29}
                                 << "12:00 on 29 February, year 07 (no such day)";
    QTest::newRow("31 April") << ClockSetting{0, 12, 4, 7, 31}
                              << "12:00 on 31 April, year 07 (no such day)";
    QTest::newRow("31 December") << ClockSetting{0, 12, 12, 99, 31}
                                 << "12:00 on 31 December, year 99";
}

void TestLineFormat::describesClockSettings() {
    QFETCH(ClockSetting, clock);
    QFETCH(QString, expected);
    QCOMPARE(describeClockSetting(clock), expected);
}

void TestLineFormat::summarises_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing seen") << QByteArray()
                                  << QStringList{"summary: every address: no title seen",
                                                 "summary: no clock frames seen"};
    QTest::newRow("addresses in numeric order, last title wins")
        << QByteArray("/T\x0A"
                      "ten\r/T\x09"
                      "old\r/T\x09"
                      "nine\r")
        << QStringList{"summary: address 9 shows \"nine\"", "summary: address 10 shows \"ten\"",
                       "summary: every other address: no title seen",
                       "summary: no clock frames seen"};
    QTest::newRow("a title to all devices replaces earlier ones")
        << QByteArray("/T\x05"
                      "AB\r/T\xFFTitle String ...\r")
        << QStringList{"summary: every address shows \"Title String ...\" (last title to all "
                       "devices)",
                       "summary: no clock frames seen"};
    QTest::newRow("a later title to one address stands out")
        << QByteArray("/T\xFFTitle String ...\r/T\x05"
                      "AB\r/T\x03\r")
        << QStringList{"summary: address 3 shows nothing (cleared)",
                       "summary: address 5 shows \"AB\"",
                       "summary: every other address shows \"Title String ...\" (last title to "
                       "all devices)",
                       "summary: no clock frames seen"};
    QTest::newRow("clear all devices")
        << QByteArray("/T\x05"
                      "AB\r/T\xFF\r")
        << QStringList{"summary: every address shows nothing (cleared) (last title to all "
                       "devices)",
                       "summary: no clock frames seen"};
    QTest::newRow("clock group") << QByteArray("/M05/H14/m03/Y07/D19")
                                 << QStringList{
                                        "summary: every address: no title seen",
                                        "summary: clock last set to 14:05 on 19 March, year 07"};
    QTest::newRow("last value of each field, invalid ones ignored")
        << QByteArray("/M05/H14/m03/Y07/D19/M06/H99")
        << QStringList{"summary: every address: no title seen",
                       "summary: clock last set to 14:06 on 19 March, year 07"};
    QTest::newRow("some fields only")
        << QByteArray("/H14/D19")
        << QStringList{"summary: every address: no title seen",
                       "summary: clock fields last sent: minute --, hour 14, month --, year --, "
                       "day 19 (-- not seen)"};
}

void TestLineFormat::summarises() {
    QFETCH(QByteArray, stream);
    QFETCH(QStringList, expected);
    FrameDecoder decoder;
    LineSummary summary;
    for (const LineEvent& event : decoder.feed(stream))
        summary.apply(event);
    QCOMPARE(summary.lines(), expected);
}

QTEST_GUILESS_MAIN(TestLineFormat)
#include "tst_lineformat.moc"
