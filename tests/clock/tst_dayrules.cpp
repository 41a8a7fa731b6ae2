#include "clock/dayrules.h"

#include <QtTest>

using namespace velk;

class TestDayRules : public QObject {
    Q_OBJECT

private slots:
    void twoDigitForm_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one digit") << "7"
                                   << "07";
        QTest::newRow("zero") << "0"
                              << "00";
        QTest::newRow("two digits") << "23"
                                    << "23";
        QTest::newRow("leading zero kept") << "09"
                                           << "09";
        QTest::newRow("empty stays empty") << ""
                                           << "";
    }
    void twoDigitForm() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(velk::twoDigitForm(text), expected);
        QCOMPARE(velk::twoDigitForm(text.toInt()), text.isEmpty() ? "00" : expected);
    }

    void leapYear_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<bool>("leap");
        QTest::newRow("00 has no century rule") << "00" << true;
        QTest::newRow("04") << "04" << true;
        QTest::newRow("24") << "24" << true;
        QTest::newRow("96") << "96" << true;
        QTest::newRow("01") << "01" << false;
        QTest::newRow("25") << "25" << false;
        QTest::newRow("99") << "99" << false;
        QTest::newRow("not a number") << "ab" << false;
        QTest::newRow("empty") << "" << false;
    }
    void leapYear() {
        QFETCH(QString, year);
        QFETCH(bool, leap);
        QCOMPARE(isLeapYear(year), leap);
    }

    void dayList_data() {
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("list");
        for (const char* month : {"01", "03", "05", "07", "08", "10", "12"})
            QTest::addRow("%s has 31 days", month) << month << "25" << 3;
        for (const char* month : {"04", "06", "09", "11"})
            QTest::addRow("%s has 30 days", month) << month << "24" << 2;
        QTest::newRow("February 24") << "02"
                                     << "24" << 1;
        QTest::newRow("February 25") << "02"
                                     << "25" << 0;
        QTest::newRow("February 00") << "02"
                                     << "00" << 1;
        QTest::newRow("February 99") << "02"
                                     << "99" << 0;
    }
    void dayList() {
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(int, list);
        QCOMPARE(dayListFor(month, year), std::optional<int>(list));
    }

    void noDayListWithoutAMonth_data() {
        QTest::addColumn<QString>("month");
        QTest::newRow("empty") << "";
        QTest::newRow("00") << "00";
        QTest::newRow("13") << "13";
        QTest::newRow("text") << "ab";
    }
    void noDayListWithoutAMonth() {
        QFETCH(QString, month);
        QCOMPARE(dayListFor(month, QStringLiteral("24")), std::nullopt);
    }

    void clamp_data() {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("day");
        QTest::addColumn<int>("index");
        QTest::newRow("31 on 31 days") << 3 << "31" << 30;
        QTest::newRow("31 on 30 days") << 2 << "31" << 29;
        QTest::newRow("30 on 30 days") << 2 << "30" << 29;
        QTest::newRow("30 on 29 days") << 1 << "30" << 28;
        QTest::newRow("29 on 29 days") << 1 << "29" << 28;
        QTest::newRow("29 on 28 days") << 0 << "29" << 27;
        QTest::newRow("31 on 28 days") << 0 << "31" << 27;
        QTest::newRow("first day") << 0 << "01" << 0;
        QTest::newRow("15 on every list") << 1 << "15" << 14;
    }
    void clamp() {
        QFETCH(int, list);
        QFETCH(QString, day);
        QFETCH(int, index);
        QCOMPARE(dayIndexOnList(list, day), std::optional<int>(index));
    }

    void noDayIndexForAText() {
        QCOMPARE(dayIndexOnList(3, QString()), std::nullopt);
        QCOMPARE(dayIndexOnList(3, QStringLiteral("x1")), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestDayRules)
#include "tst_dayrules.moc"
