#include "clock/clockcapture.h"
#include "clock/datetimerig.h"
#include "clocksync/clockcommands.h"
#include "clocksync/statuspanels.h"
#include "clocksync/tickhandler.h"
#include "doubles/fakeclock.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"
#include "transmit/transmitter.h"

#include <QtTest>

using namespace velk;
using velk::test::clockValues;
using velk::test::DateTimeRig;

namespace {

const QByteArray kFrames1405 = QByteArray::fromHex("2F4D30352F4831342F6D30332F5930372F443139");

struct TickRig {
    TickRig() {
        port.open();
        sync.setChecked(true);
        selectors.fill(clockValues("09", "41", "12", "30", "04", "25"));
    }
    FakeClock clock{QDateTime(QDate(2007, 3, 19), QTime(14, 5, 0))};
    MemorySerialPort port;
    MemoryMessageBox messages;
    MemoryTextBox timeDisplay;
    MemoryTextBox dateDisplay;
    MemoryStatusBar bar{{"Status", "link", "date"}};
    StatusPanels status{bar, clock};
    MemoryCheckBox sync;
    DateTimeRig selectors;
    ClockCapture capture{clock};
    Transmitter transmitter{port, messages};
    ClockCommands commands{transmitter, selectors.entry, capture};
    TickHandler tick{clock, timeDisplay, dateDisplay, sync, capture, transmitter, commands, status};
};

} // namespace

class TestTickHandler : public QObject {
    Q_OBJECT

private slots:
    void syncAtSecondZero() {
        TickRig rig;
        const ClockValues picked = rig.selectors.entry.entryClock();
        rig.tick.tick();
        QCOMPARE(rig.port.written(), kFrames1405);
        QCOMPARE(rig.port.writes().size(), std::size_t(5));
        QCOMPARE(rig.selectors.entry.entryClock(), picked);
        QCOMPARE(rig.selectors.hour.text(), "09");

        rig.port.clearWritten();
        for (int second = 1; second < 60; ++second) {
            rig.clock.advance(1);
            rig.tick.tick();
        }
        QCOMPARE(rig.port.written(), QByteArray());
        rig.clock.advance(1);
        rig.tick.tick();
        QCOMPARE(rig.port.written(), QByteArray("/M06/H14/m03/Y07/D19"));
    }

    // A minute is sent once, however often its second 00 is delivered.
    void twoTicksInSecondZeroSendOnce() {
        TickRig rig;
        rig.tick.tick();
        rig.tick.tick();
        QCOMPARE(rig.port.written(), kFrames1405);
    }

    void hourFrameIsTwentyFourHourInTwelveHourMode() {
        TickRig rig;
        rig.commands.hourModeClicked(0);
        rig.tick.tick();
        QCOMPARE(rig.timeDisplay.text(), "02:05:00 PM");
        QCOMPARE(rig.port.written(), kFrames1405);
    }

    void nothingSentOrShown_data() {
        QTest::addColumn<bool>("syncOn");
        QTest::addColumn<bool>("portOpen");
        QTest::newRow("sync off") << false << true;
        QTest::newRow("port closed") << true << false;
        QTest::newRow("both") << false << false;
    }
    void nothingSentOrShown() {
        QFETCH(bool, syncOn);
        QFETCH(bool, portOpen);
        TickRig rig;
        rig.sync.setChecked(syncOn);
        if (!portOpen)
            rig.port.close();
        rig.tick.tick();
        QCOMPARE(rig.port.written(), QByteArray());
        QCOMPARE(rig.port.attempts(), 0); // not even tried
        QVERIFY(rig.messages.shown().empty());
        QCOMPARE(rig.timeDisplay.text(), "14:05:00");
        QCOMPARE(rig.dateDisplay.text(), "03-19-2007");
    }

    void timeDisplay_data() {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<bool>("twelveHour");
        QTest::addColumn<QString>("shown");
        QTest::newRow("afternoon, 12 hour") << QTime(14, 5, 0) << true << "02:05:00 PM";
        QTest::newRow("afternoon, 24 hour") << QTime(14, 5, 0) << false << "14:05:00";
        QTest::newRow("after midnight, 12 hour") << QTime(0, 30, 15) << true << "12:30:15 AM";
        QTest::newRow("after midnight, 24 hour") << QTime(0, 30, 15) << false << "00:30:15";
        QTest::newRow("after noon, 12 hour") << QTime(12, 0, 1) << true << "12:00:01 PM";
        QTest::newRow("morning, 12 hour") << QTime(9, 8, 7) << true << "09:08:07 AM";
        QTest::newRow("last second, 12 hour") << QTime(23, 59, 59) << true << "11:59:59 PM";
    }
    void timeDisplay() {
        QFETCH(QTime, time);
        QFETCH(bool, twelveHour);
        QFETCH(QString, shown);
        TickRig rig;
        rig.sync.setChecked(false);
        rig.clock.set(QDateTime(QDate(2007, 3, 19), time));
        rig.commands.hourModeClicked(twelveHour ? 0 : 1);
        rig.tick.tick();
        QCOMPARE(rig.timeDisplay.text(), shown);
        QCOMPARE(rig.dateDisplay.text(), "03-19-2007");
    }

    void modeSwitchShowsFromTheNextTick() {
        TickRig rig;
        rig.sync.setChecked(false);
        rig.tick.tick();
        QCOMPARE(rig.timeDisplay.text(), "14:05:00");
        rig.commands.hourModeClicked(0);
        QCOMPARE(rig.timeDisplay.text(), "14:05:00");
        rig.clock.advance(1);
        rig.tick.tick();
        QCOMPARE(rig.timeDisplay.text(), "02:05:01 PM");
    }

    void startUpDisplaysAreTwentyFourHour() {
        TickRig rig;
        rig.clock.set(2024, 12, 1, 0, 30, 15);
        rig.commands.hourModeClicked(0);
        rig.tick.showDisplays();
        QCOMPARE(rig.timeDisplay.text(), "00:30:15");
        QCOMPARE(rig.dateDisplay.text(), "12-01-2024");
        QCOMPARE(rig.port.written(), QByteArray());
    }

    void unreadableClockSendsNothing() {
        TickRig rig;
        rig.clock.set(QDateTime());
        rig.tick.tick();
        QCOMPARE(rig.port.written(), QByteArray());
    }

    // The date panel follows the clock past midnight; a notice in the first panel stands for a few
    // seconds, then the panel's own text is back.
    void statusBarFollowsTheClock() {
        TickRig rig;
        rig.sync.setChecked(false);
        const auto shortDate = [](int year, int month, int day) {
            return QLocale::system().toString(QDate(year, month, day), QLocale::ShortFormat);
        };
        rig.clock.set(2007, 12, 31, 23, 59, 59);
        rig.tick.tick();
        QCOMPARE(rig.bar.panels(), (QStringList{"Status", "link", shortDate(2007, 12, 31)}));
        rig.status.showNotice(kLeftOutNotice);
        rig.clock.advance(1);
        rig.tick.tick();
        QCOMPARE(rig.bar.panels(), (QStringList{kLeftOutNotice, "link", shortDate(2008, 1, 1)}));
        rig.clock.advance(StatusPanels::kNoticeSeconds - 2);
        rig.tick.tick();
        QCOMPARE(rig.bar.panelText(1), kLeftOutNotice);
        rig.clock.advance(1);
        rig.tick.tick();
        QCOMPARE(rig.bar.panelText(1), QStringLiteral("Status"));
    }

    void tickDuringAModalWaitLeavesTheCommandAlone() {
        TickRig rig;
        rig.port.close();
        rig.messages.whileOpen([&] { rig.tick.tick(); });
        rig.commands.setTimeClicked();
        QCOMPARE(rig.messages.shown().size(), std::size_t(1));
        QCOMPARE(rig.timeDisplay.text(), "14:05:00");
        QCOMPARE(rig.port.written(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestTickHandler)
#include "tst_tickhandler.moc"
