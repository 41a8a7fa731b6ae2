#include "clocksync/ticker.h"
#include "doubles/fakeclock.h"

#include <QtTest>

using namespace velk;

namespace {

QDateTime at(int hour, int minute, int second, int msec) {
    return QDateTime(QDate(2026, 3, 7), QTime(hour, minute, second, msec));
}

// The interval the ticker's timer was last armed with.
int armedInterval(const Ticker& ticker) {
    const auto* timer = ticker.findChild<QTimer*>();
    return timer ? timer->interval() : -1;
}

} // namespace

class TestTicker : public QObject {
    Q_OBJECT

private slots:
    void armingRule_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("interval");
        const int delay = Ticker::kDelayAfterSecondMs;
        QTest::newRow("exactly on the second") << at(10, 0, 0, 0) << 1000 + delay;
        QTest::newRow("just after the second") << at(10, 0, 0, 1) << 999 + delay;
        QTest::newRow("half way") << at(10, 0, 0, 500) << 500 + delay;
        QTest::newRow("999 ms") << at(10, 0, 0, 999) << 1 + delay;
        QTest::newRow("at the tick's own delay") << at(10, 0, 0, delay) << 1000;
        QTest::newRow("before midnight") << at(23, 59, 59, 990) << 10 + delay;
    }
    void armingRule() {
        QFETCH(QDateTime, now);
        QFETCH(int, interval);
        QCOMPARE(Ticker::msecsUntilNextTick(now), interval);
        // The tick lands inside the next second, a few milliseconds after its start.
        const QDateTime due = now.addMSecs(interval);
        QCOMPARE(Ticker::secondOf(due), Ticker::secondOf(now) + 1);
        QCOMPARE(due.time().msec(), Ticker::kDelayAfterSecondMs);
    }

    // Only the wait for second 00 is split, and only while there is a wait worth splitting.
    void wakeBeforeTheMinute_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("wake");
        QTest::newRow("second 58") << at(10, 0, 58, 5) << 1000;
        QTest::newRow("second 59") << at(10, 0, 59, 5) << 1000 - Ticker::kApproachMs;
        QTest::newRow("woken early") << at(10, 0, 59, 950) << 50 + Ticker::kDelayAfterSecondMs;
        QTest::newRow("second 00") << at(10, 1, 0, 5) << 1000;
    }
    void wakeBeforeTheMinute() {
        QFETCH(QDateTime, now);
        QFETCH(int, wake);
        QCOMPARE(Ticker::msecsUntilNextWake(now), wake);
    }

    void startDeliversNothingAndArmsForTheNextSecond() {
        FakeClock clock(at(10, 0, 0, 250));
        Ticker ticker(clock);
        int ticks = 0;
        ticker.onTick([&] { ++ticks; });
        ticker.start();
        QCOMPARE(ticks, 0);
        QVERIFY(ticker.isActive());
        QCOMPARE(armedInterval(ticker), 750 + Ticker::kDelayAfterSecondMs);
        // A timer that fires early, still in the start's second, delivers nothing.
        clock.set(at(10, 0, 0, 998));
        ticker.poll();
        QCOMPARE(ticks, 0);
        QCOMPARE(armedInterval(ticker), 2 + Ticker::kDelayAfterSecondMs);
        ticker.stop();
    }

    // Each row is a series of timer firings at wall-clock times and whether each delivers.
    void everySecondOnce_data() {
        QTest::addColumn<QList<QDateTime>>("firings");
        QTest::addColumn<QList<bool>>("delivered");
        QTest::newRow("on time") << QList<QDateTime>{at(10, 0, 1, 5), at(10, 0, 2, 6),
                                                     at(10, 0, 3, 5)}
                                 << QList<bool>{true, true, true};
        QTest::newRow("early firing re-arms")
            << QList<QDateTime>{at(10, 0, 1, 5), at(10, 0, 1, 999), at(10, 0, 2, 5)}
            << QList<bool>{true, false, true};
        QTest::newRow("late firing still counts")
            << QList<QDateTime>{at(10, 0, 1, 900), at(10, 0, 2, 5)} << QList<bool>{true, true};
        QTest::newRow("clock set back")
            << QList<QDateTime>{at(10, 0, 1, 5), at(9, 0, 0, 400), at(9, 0, 1, 5)}
            << QList<bool>{true, true, true};
        QTest::newRow("clock set back by under a second")
            << QList<QDateTime>{at(10, 0, 2, 5), at(10, 0, 1, 700), at(10, 0, 2, 5)}
            << QList<bool>{true, true, true};
        QTest::newRow("clock set forward")
            << QList<QDateTime>{at(10, 0, 1, 5), at(11, 30, 0, 600), at(11, 30, 1, 5)}
            << QList<bool>{true, true, true};
    }
    void everySecondOnce() {
        QFETCH(QList<QDateTime>, firings);
        QFETCH(QList<bool>, delivered);
        FakeClock clock(at(10, 0, 0, 500));
        Ticker ticker(clock);
        QList<QDateTime> ticks;
        ticker.onTick([&] { ticks << clock.now(); });
        ticker.start();
        QList<QDateTime> expected;
        for (int i = 0; i < firings.size(); ++i) {
            clock.set(firings[i]);
            ticker.poll();
            if (delivered[i])
                expected << firings[i];
            // Always re-armed for a few milliseconds into the next second.
            QCOMPARE(armedInterval(ticker), Ticker::msecsUntilNextWake(firings[i]));
            QVERIFY(ticker.isActive());
        }
        QCOMPARE(ticks, expected);
        ticker.stop();
    }
};

QTEST_GUILESS_MAIN(TestTicker)
#include "tst_ticker.moc"
