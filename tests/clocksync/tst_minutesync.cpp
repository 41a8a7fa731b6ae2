#include "clock/clockcapture.h"
#include "clocksync/minutesync.h"
#include "clocksync/ticker.h"
#include "doubles/fakealarm.h"
#include "doubles/fakeclock.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"
#include "transmit/transmitter.h"

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
};

QTEST_GUILESS_MAIN(TestMinuteSync)
#include "tst_minutesync.moc"
