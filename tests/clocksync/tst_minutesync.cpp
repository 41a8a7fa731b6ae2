#include "clock/clockcapture.h"
#include "clocksync/minutesync.h"
#include "clocksync/ticker.h"
#include "doubles/fakealarm.h"
#include "doubles/fakeclock.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"
#include "transmit/transmitter.h"
#include "wire/frames.h"

#include <QtTest>

using namespace velk;

namespace {

QDateTime at(const QString& time) {
    return QDateTime(QDate(2026, 12, 7), QTime::fromString(time, QStringLiteral("HH:mm:ss.zzz")));
}

// The minute sync on the phase-locked tick with a hand-rung alarm, over a port in memory.
struct Rig {
    explicit Rig(const QString& start) : clock(at(start)) {
        port.open();
        ticker.onTick([this] {
            if (sync.tick())
                sent << clock.format(QStringLiteral("HH:mm"));
        });
        ticker.start();
    }
    // "tick HH:mm:ss.zzz" polls the tick's timer, "ring ..." rings the minute's alarm, "step ..."
    // sets the clock and tells the alarm, each with the clock at that time.
    void play(const QStringList& events) {
        for (const QString& event : events) {
            const QStringList parts = event.split(QLatin1Char(' '));
            clock.set(at(parts.at(1)));
            if (parts.at(0) == QLatin1String("tick"))
                ticker.poll();
            else if (parts.at(0) == QLatin1String("ring"))
                alarm.ring();
            else
                alarm.step();
        }
    }
    FakeClock clock;
    MemorySerialPort port;
    MemoryMessageBox messages;
    Transmitter transmitter{port, messages};
    ClockCapture capture{clock};
    MinuteSync sync{clock, capture, transmitter};
    FakeAlarm alarm;
    Ticker ticker{clock, &alarm};
    QStringList sent;
};

const QString kStopped = QStringLiteral("the line stopped taking data");

} // namespace

class TestMinuteSync : public QObject {
    Q_OBJECT

private slots:
    // One group per minute whether the minute's alarm or the tick reaches second 00 first, and
    // whichever way the clock is set around it; the alarm is armed for the next whole minute
    // after every step.
    void stepsAroundTheMinute_data() {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("armedFor");
        QTest::newRow("alarm, then the tick")
            << QStringList{"ring 10:01:00.000", "tick 10:01:00.005"} << QStringList{"10:01"}
            << QString() << "10:02";
        QTest::newRow("tick late, alarm later still")
            << QStringList{"tick 10:01:00.020", "ring 10:01:00.030"} << QStringList{"10:01"}
            << QString() << "10:02";
        QTest::newRow("set back across the minute")
            << QStringList{"ring 10:01:00.000", "step 10:00:59.600", "ring 10:01:00.000",
                           "tick 10:01:01.005", "ring 10:02:00.000"}
            << QStringList{"10:01", "10:02"} << QString() << "10:03";
        QTest::newRow("set back minutes: the devices follow")
            << QStringList{"ring 10:01:00.000", "step 09:58:30.000", "ring 09:59:00.000"}
            << QStringList{"10:01", "09:59"} << QString() << "10:00";
        QTest::newRow("set forward onto a whole minute")
            << QStringList{"tick 10:00:59.005", "step 10:02:00.300", "ring 10:03:00.000"}
            << QStringList{"10:02", "10:03"}
            << "the PC clock went from 10:00:59 to 10:02:00; the 10:01 group was skipped"
            << "10:04";
        QTest::newRow("set forward into a minute")
            << QStringList{"tick 10:00:59.005", "step 10:01:30.000"} << QStringList{}
            << "the PC clock went from 10:00:59 to 10:01:30; the 10:01 group was skipped"
            << "10:02";
        QTest::newRow("set forward by hours")
            << QStringList{"tick 10:00:59.005", "step 13:00:10.000"} << QStringList{}
            << "the PC clock went from 10:00:59 to 13:00:10; the 10:01 to 13:00 groups were "
               "skipped"
            << "13:01";
    }
    void stepsAroundTheMinute() {
        QFETCH(QStringList, events);
        QFETCH(QStringList, sent);
        QFETCH(QString, warning);
        QFETCH(QString, armedFor);
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        Rig rig(QStringLiteral("10:00:58.005"));
        rig.play(events);
        QCOMPARE(rig.sent, sent);
        QCOMPARE(rig.port.written().size(), sent.size() * 20);
        QVERIFY(rig.alarm.armedAt());
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(*rig.alarm.armedAt()).toString("HH:mm:ss.zzz"),
                 armedFor + ":00.000");
    }

    // A group the line has not started taking a second after its minute is withdrawn with
    // everything queued before it, so nothing stale reaches the displays when the line drains;
    // the stall is logged once, each dropped group every time, and a group taken ends it.
    void aGroupTheLineDoesNotTakeIsWithdrawn() {
        Rig rig(QStringLiteral("22:39:58.005"));
        QStringList dropped;
        rig.sync.onDropped([&](const QString& warning) { dropped << warning; });
        rig.port.stall();
        rig.play({"ring 22:40:00.000", "tick 22:40:00.005"});
        QCOMPARE(rig.port.pendingBytes(), qint64(20));
        QTest::ignoreMessage(QtWarningMsg, qPrintable(kStopped));
        QTest::ignoreMessage(QtWarningMsg,
                             "the line is not taking data; the 22:40 group was dropped");
        rig.play({"tick 22:40:01.005"});
        QCOMPARE(rig.port.pendingBytes(), qint64(0));
        QVERIFY(rig.sync.line().isStalled());
        QTest::ignoreMessage(QtWarningMsg,
                             "the line is not taking data; the 22:41 group was dropped");
        rig.play({"ring 22:41:00.000", "tick 22:41:01.005"});
        QCOMPARE(dropped,
                 (QStringList{"the line is not taking data; the 22:40 group was dropped",
                              "the line is not taking data; the 22:41 group was dropped"}));

        rig.port.resume();
        QCOMPARE(rig.port.written(), QByteArray()); // nothing stale came through
        rig.play({"ring 22:42:00.000", "tick 22:42:01.005", "tick 22:42:02.005"});
        QCOMPARE(rig.sent, (QStringList{"22:40", "22:41", "22:42"}));
        QCOMPARE(rig.port.written().size(), 20);
        QVERIFY(rig.port.written().startsWith(frames::clockFrame('M', QStringLiteral("42"))));
        QVERIFY(!rig.sync.line().isStalled());
        QCOMPARE(dropped.size(), 2);
    }

    // Bytes that sat a whole second untaken, a title's say, make a stall without any group.
    void aStallWithoutAGroupIsLogged() {
        Rig rig(QStringLiteral("22:39:30.005"));
        rig.port.stall();
        rig.play({"tick 22:39:31.005"});
        rig.transmitter.sendBytes("title");
        rig.play({"tick 22:39:32.005"}); // just handed over: no verdict yet
        QTest::ignoreMessage(QtWarningMsg, "the line stopped taking data; 5 bytes wait");
        rig.play({"tick 22:39:33.005"});
        QVERIFY(rig.sync.line().isStalled());
        rig.port.resume();
        rig.play({"tick 22:39:34.005"});
        QVERIFY(!rig.sync.line().isStalled());
        QCOMPARE(rig.port.written(), QByteArray("title"));
    }
};

QTEST_GUILESS_MAIN(TestMinuteSync)
#include "tst_minutesync.moc"
