#include "clock/clockcapture.h"
#include "clock/datetimerig.h"
#include "doubles/fakeclock.h"

#include <QtTest>

Q_DECLARE_METATYPE(velk::ClockValues)

using namespace velk;
using velk::test::clockValues;
using velk::test::DateTimeRig;

class TestClockCapture : public QObject {
    Q_OBJECT

private slots:
    void captureAndFill_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<ClockValues>("expected");
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("clockText");
        QTest::newRow("afternoon")
            << QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9))
            << clockValues("14", "05", "09", "07", "03", "26") << 3 << "2026";
        QTest::newRow("midnight") << QDateTime(QDate(2026, 3, 7), QTime(0, 0, 0))
                                  << clockValues("00", "00", "00", "07", "03", "26") << 3 << "2026";
        QTest::newRow("last day of 1999")
            << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
            << clockValues("23", "59", "59", "31", "12", "99") << 3 << "1999";
        QTest::newRow("leap day 2024")
            << QDateTime(QDate(2024, 2, 29), QTime(12, 0, 0))
            << clockValues("12", "00", "00", "29", "02", "24") << 1 << "2024";
        QTest::newRow("February 2023")
            << QDateTime(QDate(2023, 2, 28), QTime(12, 0, 0))
            << clockValues("12", "00", "00", "28", "02", "23") << 0 << "2023";
        QTest::newRow("leap day 2000")
            << QDateTime(QDate(2000, 2, 29), QTime(8, 30, 0))
            << clockValues("08", "30", "00", "29", "02", "00") << 1 << "2000";
        QTest::newRow("April") << QDateTime(QDate(2025, 4, 30), QTime(8, 30, 0))
                               << clockValues("08", "30", "00", "30", "04", "25") << 2 << "2025";
    }
    void captureAndFill() {
        QFETCH(QDateTime, now);
        QFETCH(ClockValues, expected);
        QFETCH(int, list);
        QFETCH(QString, clockText);
        FakeClock clock(now);
        ClockCapture capture(clock);
        DateTimeRig rig;
        capture.capturePcClock(rig.entry);
        QCOMPARE(rig.entry.entryClock(), expected);
        QCOMPARE(capture.clockText(), clockText);

        rig.entry.fillClockSelectors();
        QCOMPARE(rig.entry.entryClock(), expected);
        QCOMPARE(rig.hour.listIndex(), expected.hour.toInt());
        QCOMPARE(rig.minute.listIndex(), expected.minute.toInt());
        QCOMPARE(rig.second.listIndex(), expected.second.toInt());
        QCOMPARE(rig.month.listIndex(), expected.month.toInt() - 1);
        QCOMPARE(rig.year.listIndex(), expected.year.toInt());
        QCOMPARE(rig.visibleDayList(), list);
        QCOMPARE(rig.shownDay().listIndex(), expected.day.toInt() - 1);
    }

    void syncCaptureLeavesTheEntryAlone() {
        FakeClock clock(QDateTime(QDate(2007, 3, 19), QTime(14, 5, 0)));
        ClockCapture capture(clock);
        DateTimeRig rig;
        const ClockValues picked = clockValues("09", "41", "12", "30", "04", "25");
        rig.fill(picked);
        capture.captureSyncClock();
        QCOMPARE(capture.syncClock(), clockValues("14", "05", "00", "19", "03", "07"));
        QCOMPARE(capture.clockText(), "2007");
        QCOMPARE(rig.entry.entryClock(), picked);
        QCOMPARE(rig.hour.text(), "09");
        QCOMPARE(rig.month.text(), "04");
        QCOMPARE(rig.visibleDayList(), 2);
        QCOMPARE(rig.shownDay().text(), "30");
    }

    void entryCaptureLeavesTheSyncClockAlone() {
        FakeClock clock(QDateTime(QDate(2007, 3, 19), QTime(14, 5, 0)));
        ClockCapture capture(clock);
        capture.captureSyncClock();
        clock.set(2030, 1, 2, 3, 4, 5);
        DateTimeRig rig;
        capture.capturePcClock(rig.entry);
        QCOMPARE(rig.entry.entryClock(), clockValues("03", "04", "05", "02", "01", "30"));
        QCOMPARE(capture.syncClock(), clockValues("14", "05", "00", "19", "03", "07"));
    }

    void pcDateReplacesPicks() {
        FakeClock clock(QDateTime(QDate(2024, 2, 29), QTime(6, 7, 8)));
        ClockCapture capture(clock);
        DateTimeRig rig;
        rig.fill(clockValues("23", "59", "59", "31", "12", "99"));
        capture.capturePcClock(rig.entry);
        rig.entry.fillClockSelectors();
        QCOMPARE(rig.entry.entryClock(), clockValues("06", "07", "08", "29", "02", "24"));
        QCOMPARE(rig.visibleDayList(), 1);
        QCOMPARE(rig.shownDay().text(), "29");
    }

    // A clock that cannot be read gives texts without separators: every step is skipped and the
    // values keep what they held.
    void unreadableClockChangesNothing() {
        FakeClock clock{QDateTime()};
        ClockCapture capture(clock);
        DateTimeRig rig;
        const ClockValues picked = clockValues("09", "41", "12", "30", "04", "25");
        rig.fill(picked);
        capture.capturePcClock(rig.entry);
        capture.captureSyncClock();
        QCOMPARE(rig.entry.entryClock(), picked);
        QCOMPARE(capture.syncClock(), ClockValues());
    }
};

QTEST_GUILESS_MAIN(TestClockCapture)
#include "tst_clockcapture.moc"
