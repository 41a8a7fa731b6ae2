#include "clock/clockcapture.h"
#include "clock/datetimerig.h"
#include "clocksync/clockcommands.h"
#include "doubles/fakeclock.h"
#include "doubles/memoryserialport.h"
#include "transmit/transmitter.h"

#include <QtTest>

using namespace velk;
using velk::test::clockValues;
using velk::test::DateTimeRig;

namespace {

const QByteArray kFrames1407 = QByteArray::fromHex("2F4D30352F4831342F6D30332F5930372F443139");

struct ClockRig {
    ClockRig() {
        port.open();
        selectors.fill(clockValues("14", "05", "30", "19", "03", "07"));
    }
    FakeClock clock{QDateTime(QDate(2026, 2, 28), QTime(9, 8, 7))};
    MemorySerialPort port;
    MemoryMessageBox messages;
    DateTimeRig selectors;
    ClockCapture capture{clock};
    Transmitter transmitter{port, messages};
    ClockCommands commands{transmitter, selectors.entry, capture};
};

} // namespace

class TestClockCommands : public QObject {
    Q_OBJECT

private slots:
    void setTimeSendsFiveFrames_data() {
        QTest::addColumn<int>("hourMode");
        QTest::newRow("24 hour") << 1;
        QTest::newRow("12 hour: the hour still goes out as 14") << 0;
    }
    void setTimeSendsFiveFrames() {
        QFETCH(int, hourMode);
        ClockRig rig;
        rig.commands.hourModeClicked(hourMode);
        rig.commands.setTimeClicked();
        QCOMPARE(rig.port.written(), kFrames1407);
        const std::vector<QByteArray> expected{"/M05", "/H14", "/m03", "/Y07", "/D19"};
        QCOMPARE(rig.port.writes(), expected);
        QVERIFY(rig.messages.shown().empty());
    }

    void setTimeSendsThePicks() {
        ClockRig rig;
        rig.selectors.second.pick(59);
        rig.commands.setTimeClicked();
        QCOMPARE(rig.port.written(), kFrames1407);

        rig.port.clearWritten();
        rig.selectors.hour.pick(0);
        rig.selectors.minute.pick(0);
        rig.selectors.month.pick(3); // April pulls nothing back from 19
        rig.commands.setTimeClicked();
        QCOMPARE(rig.port.written(), QByteArray("/M00/H00/m04/Y07/D19"));
    }

    void setTimeWithPortClosed() {
        ClockRig rig;
        rig.port.close();
        rig.commands.setTimeClicked();
        QCOMPARE(rig.port.written(), QByteArray());
        QCOMPARE(rig.messages.shown().size(), std::size_t(1));
        QCOMPARE(rig.messages.shown().front().text, kPressConnectMessage);
        QCOMPARE(rig.messages.shown().front().title, "VELK-Pro");
        QCOMPARE(rig.messages.shown().front().icon, MessageBox::Icon::None);
    }

    void failedFrameDoesNotStopTheRest() {
        ClockRig rig;
        rig.port.failWrite(1);
        // The operator is not told; the log keeps it.
        QTest::ignoreMessage(QtWarningMsg, "the port did not take frame 2F 48 31 34");
        rig.commands.setTimeClicked();
        QCOMPARE(rig.port.written(), QByteArray("/M05/m03/Y07/D19"));
        QVERIFY(rig.messages.shown().empty());
    }

    void updateTimeNeedsNoPort() {
        ClockRig rig;
        rig.port.close();
        rig.commands.updateTimeClicked();
        QVERIFY(rig.messages.shown().empty());
        QCOMPARE(rig.port.written(), QByteArray());
        QCOMPARE(rig.selectors.entry.entryClock(), clockValues("09", "08", "07", "28", "02", "26"));
        QCOMPARE(rig.selectors.hour.text(), "09");
        QCOMPARE(rig.selectors.year.text(), "26");
        QCOMPARE(rig.selectors.visibleDayList(), 0);
        QCOMPARE(rig.selectors.shownDay().text(), "28");
    }

    void hourMode() {
        ClockRig rig;
        QCOMPARE(rig.commands.twelveHourMode(), false);
        rig.commands.hourModeClicked(0);
        QCOMPARE(rig.commands.twelveHourMode(), true);
        rig.commands.hourModeClicked(5);
        QCOMPARE(rig.commands.twelveHourMode(), true);
        rig.commands.hourModeClicked(1);
        QCOMPARE(rig.commands.twelveHourMode(), false);
        QCOMPARE(rig.port.written(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestClockCommands)
#include "tst_clockcommands.moc"
