// The system's wall-clock alarm when the kernel refuses its timer: one warning, and the ticker's
// own one-second timer still delivers the minute. The failures are the kernel's own: no file
// descriptor left for timerfd_create, an instant before 1970 for timerfd_settime.

#include "clocksync/ticker.h"
#include "doubles/fakeclock.h"
#include "system/systemwallclockalarm.h"

#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

using namespace velk;

namespace {

QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg)
        g_warnings << text;
}

// While it lives, no new file descriptor can be opened: the limit stands at the lowest free one.
class NoFreeDescriptor {
public:
    NoFreeDescriptor() {
        ::getrlimit(RLIMIT_NOFILE, &m_saved);
        const int lowestFree = ::dup(0);
        ::close(lowestFree);
        rlimit tight = m_saved;
        tight.rlim_cur = rlim_t(lowestFree);
        ::setrlimit(RLIMIT_NOFILE, &tight);
    }
    ~NoFreeDescriptor() { ::setrlimit(RLIMIT_NOFILE, &m_saved); }

private:
    rlimit m_saved{};
};

} // namespace

class TestWallClockAlarm : public QObject {
    Q_OBJECT

private slots:
    void init() {
        g_warnings.clear();
        qInstallMessageHandler(collectWarnings);
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

    void refusedTimerIsToldOnceAndTheTickCarriesTheMinute_data() {
        QTest::addColumn<bool>("noDescriptor");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("call");
        QTest::newRow("timerfd_create")
            << true << QDateTime(QDate(2026, 12, 10), QTime(9, 59, 59)) << "timerfd_create";
        QTest::newRow("timerfd_settime")
            << false << QDateTime(QDate(1969, 12, 31), QTime(23, 58, 59), Qt::UTC)
            << "timerfd_settime";
    }
    void refusedTimerIsToldOnceAndTheTickCarriesTheMinute() {
        QFETCH(bool, noDescriptor);
        QFETCH(QDateTime, start);
        QFETCH(QString, call);
#if defined(__SANITIZE_ADDRESS__)
        if (noDescriptor)
            QSKIP("the sanitizers' own checks need a free file descriptor");
#endif
        std::unique_ptr<SystemWallClockAlarm> alarm;
        {
            std::optional<NoFreeDescriptor> limit;
            if (noDescriptor)
                limit.emplace();
            alarm = std::make_unique<SystemWallClockAlarm>();
        }
        FakeClock clock(start);
        Ticker ticker(clock, alarm.get());
        int ticks = 0;
        ticker.onTick([&ticks] { ++ticks; });
        ticker.start();
        for (int second = 0; second < 2; ++second) { // past a whole minute, re-arming each time
            clock.advance(1);
            ticker.poll();
            alarm->armAt(Ticker::nextWholeMinute(clock.now()));
        }
        QCOMPARE(ticks, 2);
        QCOMPARE(g_warnings.size(), 1);
        QVERIFY2(g_warnings.first().contains(call), qPrintable(g_warnings.first()));
        QVERIFY(g_warnings.first().contains(QStringLiteral("one-second tick")));
    }
};

QTEST_GUILESS_MAIN(TestWallClockAlarm)
#include "tst_wallclockalarm.moc"
