#include "clock/datetimerig.h"

#include <QtTest>

using namespace velk;
using velk::test::clockValues;
using velk::test::DateTimeRig;

class TestDateTimeEntry : public QObject {
    Q_OBJECT

private slots:
    void pickSetsTwoDigitText() {
        DateTimeRig rig;
        rig.fill(clockValues("10", "20", "30", "15", "06", "24"));
        rig.hour.pick(7);
        QCOMPARE(rig.entry.entryClock().hour, "07");
        rig.minute.pick(59);
        QCOMPARE(rig.entry.entryClock().minute, "59");
        rig.second.pick(0);
        QCOMPARE(rig.entry.entryClock().second, "00");
        rig.month.pick(0);
        QCOMPARE(rig.entry.entryClock().month, "01");
        rig.shownDay().pick(8);
        QCOMPARE(rig.entry.entryClock().day, "09");
        rig.year.pick(99);
        QCOMPARE(rig.entry.entryClock().year, "99");
    }

    // Each row starts from a date and picks months and years in turn, checking the shown day list
    // and the entry day after the last pick.
    void dayListFollowsPicks_data() {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QStringList>("picks"); // "m05" picks month 05, "y24" year 24
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("expectedDay");
        QTest::newRow("31 into April") << "31"
                                       << "03"
                                       << "25" << QStringList{"m04"} << 2 << "30";
        QTest::newRow("the clamp is not undone") << "31"
                                                 << "03"
                                                 << "25" << QStringList{"m04", "m05"} << 3 << "30";
        QTest::newRow("30 into February of 24") << "30"
                                                << "01"
                                                << "24" << QStringList{"m02"} << 1 << "29";
        QTest::newRow("30 into February of 25") << "30"
                                                << "01"
                                                << "25" << QStringList{"m02"} << 0 << "28";
        QTest::newRow("February of 00 is a leap year") << "29"
                                                       << "01"
                                                       << "00" << QStringList{"m02"} << 1 << "29";
        QTest::newRow("29 through year 25 and back to 24")
            << "29"
            << "02"
            << "24" << QStringList{"y25", "y24"} << 1 << "28";
        QTest::newRow("29 into year 25") << "29"
                                         << "02"
                                         << "24" << QStringList{"y25"} << 0 << "28";
        QTest::newRow("year pick in July shows the same list")
            << "31"
            << "07"
            << "24" << QStringList{"y25"} << 3 << "31";
        QTest::newRow("31 into February of 00") << "31"
                                                << "12"
                                                << "99" << QStringList{"y00", "m02"} << 1 << "29";
    }
    void dayListFollowsPicks() {
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QStringList, picks);
        QFETCH(int, list);
        QFETCH(QString, expectedDay);
        DateTimeRig rig;
        rig.fill(ClockValues{"12", "00", "00", day, month, year});
        for (const QString& pick : picks) {
            const int value = pick.mid(1).toInt();
            if (pick.startsWith('m'))
                rig.month.pick(value - 1);
            else
                rig.year.pick(value);
        }
        QCOMPARE(rig.visibleDayList(), list);
        QCOMPARE(rig.entry.entryClock().day, expectedDay);
        QCOMPARE(rig.shownDay().text(), expectedDay);
        QCOMPARE(rig.shownDay().listIndex(), expectedDay.toInt() - 1);
    }

    void day15SurvivesEveryPick() {
        DateTimeRig rig;
        rig.fill(clockValues("12", "00", "00", "15", "01", "24"));
        for (int month = 0; month < 12; ++month) {
            rig.month.pick(month);
            for (int year = 0; year < 100; ++year) {
                rig.year.pick(year);
                QCOMPARE(rig.entry.entryClock().day, "15");
                QCOMPARE(rig.shownDay().text(), "15");
            }
        }
    }

    // From the last day of every month, every month and year pick leaves exactly one list
    // visible, of the right length, holding the entry day.
    void exactlyOneFittingListAfterEveryPick() {
        DateTimeRig rig;
        rig.fill(clockValues("12", "00", "00", "31", "01", "24"));
        for (int month = 0; month < 12; ++month) {
            for (int year = 0; year < 100; ++year) {
                rig.fill(clockValues("12", "00", "00", "31", "01", "24"));
                rig.month.pick(month);
                rig.year.pick(year);
                QCOMPARE(rig.visibleDayListCount(), 1);
                const int days = QDate(2000 + year, month + 1, 1).daysInMonth();
                QCOMPARE(rig.shownDay().count(), days);
                QCOMPARE(rig.entry.entryClock().day, QString::number(days));
                QCOMPARE(rig.shownDay().text(), rig.entry.entryClock().day);
            }
        }
    }

    void typingIsUndone_data() {
        QTest::addColumn<QString>("selector");
        for (const char* name : {"hour", "minute", "second", "day", "month", "year"})
            QTest::newRow(name) << name;
    }
    void typingIsUndone() {
        QFETCH(QString, selector);
        DateTimeRig rig;
        const ClockValues before = clockValues("14", "05", "30", "19", "03", "07");
        rig.fill(before);
        MemorySelector* target = selector == "hour"     ? &rig.hour
                                 : selector == "minute" ? &rig.minute
                                 : selector == "second" ? &rig.second
                                 : selector == "day"    ? &rig.shownDay()
                                 : selector == "month"  ? &rig.month
                                                        : &rig.year;
        const QString shown = target->text();
        for (const char* typed : {"9", "", "xx", "-1", "123"}) {
            target->type(QString::fromLatin1(typed));
            QCOMPARE(rig.entry.entryClock(), before);
            QCOMPARE(target->text(), shown);
            QVERIFY(target->listIndex() >= 0);
        }
        QCOMPARE(rig.visibleDayListCount(), 1);
    }

    // Before the first fill the entry clock is empty: typing or stray clicks must not crash and
    // must not make up values.
    void emptyEntryClockSurvivesEveryHandler() {
        DateTimeRig rig;
        rig.hour.type("5");
        rig.month.type("x");
        rig.day[2].type("");
        rig.entry.showDayList();
        rig.entry.fillClockSelectors();
        // Nothing is selected anywhere: a stray click has no value to take.
        rig.entry.hourClicked();
        rig.entry.minuteClicked();
        rig.entry.secondClicked();
        rig.entry.monthClicked();
        rig.entry.yearClicked();
        for (int k = 0; k < kDayListCount; ++k)
            rig.entry.dayClicked(k);
        QCOMPARE(rig.entry.entryClock(), ClockValues());
        QCOMPARE(rig.hour.listIndex(), -1);
        QCOMPARE(rig.visibleDayListCount(), kDayListCount);
    }

    void clickWithoutSelectionKeepsValue() {
        DateTimeRig rig;
        const ClockValues before = clockValues("14", "05", "30", "19", "03", "07");
        rig.fill(before);
        rig.hour.type("1");
        rig.entry.hourClicked();
        rig.entry.dayClicked(3);
        rig.entry.dayClicked(-1);
        rig.entry.dayClicked(4);
        rig.entry.dayChanged(7);
        QCOMPARE(rig.entry.entryClock(), before);
    }

    void secondsPickTouchesNothingElse() {
        DateTimeRig rig;
        rig.fill(clockValues("14", "05", "30", "19", "03", "07"));
        rig.second.pick(45);
        QCOMPARE(rig.entry.entryClock(), clockValues("14", "05", "45", "19", "03", "07"));
    }
};

QTEST_GUILESS_MAIN(TestDateTimeEntry)
#include "tst_datetimeentry.moc"
