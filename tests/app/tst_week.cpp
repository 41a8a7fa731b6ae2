// The panel left running with the sync on and the port open: a week of ticks sends exactly one
// clock group per minute, carrying that minute, across midnights, month ends and the year end,
// and the process does not grow while it runs.

#include "memorypanel.h"

#include "clocksync/ticker.h"
#include "support/residentmemory.h"

#include <QtTest>
#include <random>

#if defined(__SANITIZE_ADDRESS__)
#define VELK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELK_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef VELK_ADDRESS_SANITIZER
// The sanitizer's runtime has it whether or not its headers are installed.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace velk;
using namespace velk::test;

namespace {

constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 24 * kHour;
constexpr qint64 kWeek = 7 * kDay;
constexpr int kFramesPerGroup = 5;

QDateTime utc(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

QByteArray twoDigits(int value) {
    return QByteArray::number(value).rightJustified(2, '0');
}

// The five writes of the clock group for the minute `when` falls in, in the order sent.
std::vector<QByteArray> clockGroup(const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    return {"/M" + twoDigits(time.minute()), "/H" + twoDigits(time.hour()),
            "/m" + twoDigits(date.month()), "/Y" + twoDigits(date.year() % 100),
            "/D" + twoDigits(date.day())};
}

QString shown(const std::vector<QByteArray>& writes, std::size_t from) {
    QStringList texts;
    for (std::size_t index = from; index < writes.size(); ++index)
        texts << QString::fromLatin1(writes[index]);
    return texts.join(QLatin1Char(' '));
}

// How much memory the process holds. Under AddressSanitizer freed blocks wait in its quarantine
// and swell the resident set, so the sanitizer's count of live heap bytes stands in for it.
qint64 memoryInUse() {
#ifdef VELK_ADDRESS_SANITIZER
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return velk::test::residentBytes();
#endif
}

// How much the process may grow from the first day to the seventh: allocator slack, far below
// what keeping a day's frames (7200 writes) or a few bytes per tick would add.
constexpr qint64 kGrowthMargin = 256 * 1024;

// The panel, connected and syncing, ticked once a second from a start time. Whatever the port
// recorded is cleared every hour, as a long run's line would be drained.
class SyncRun {
public:
    explicit SyncRun(const QDateTime& start) : m_start(start), m_panel(start) {
        m_panel.connectButton().click();
        m_panel.sync.setChecked(true);
    }

    // Ticks `seconds` more seconds; the first problem found, or nothing.
    QString run(qint64 seconds) {
        const int startSecond = m_start.time().second();
        for (qint64 end = m_elapsed + seconds; m_elapsed < end; ++m_elapsed) {
            const std::size_t before = m_panel.port.writes().size();
            m_panel.tick();
            const std::size_t made = m_panel.port.writes().size() - before;
            if ((startSecond + m_elapsed) % 60 != 0) {
                if (made != 0)
                    return problem(QStringLiteral("frames in the middle of a minute"), before);
            } else {
                const std::vector<QByteArray> expected = clockGroup(m_start.addSecs(m_elapsed));
                if (made != expected.size() ||
                    !std::equal(expected.begin(), expected.end(),
                                m_panel.port.writes().begin() + std::ptrdiff_t(before)))
                    return problem(QStringLiteral("expected %1").arg(shown(expected, 0)), before);
                ++m_groups;
                ++m_groupsThisHour;
            }
            m_panel.clock.advance(1);
            if ((m_elapsed + 1) % kHour == 0) {
                if (m_panel.port.writes().size() != std::size_t(m_groupsThisHour) * kFramesPerGroup)
                    return QStringLiteral("%1 writes recorded in the hour before %2")
                        .arg(m_panel.port.writes().size())
                        .arg(m_panel.clock.now().toString(Qt::ISODate));
                m_panel.port.clearWritten();
                m_groupsThisHour = 0;
            }
        }
        return {};
    }

    int groups() const { return m_groups; }
    MemoryPanel& panel() { return m_panel; }

private:
    QString problem(const QString& what, std::size_t before) const {
        return QStringLiteral("tick at %1 wrote [%2]; %3")
            .arg(m_start.addSecs(m_elapsed).toString(Qt::ISODate),
                 shown(m_panel.port.writes(), before), what);
    }

    QDateTime m_start;
    MemoryPanel m_panel;
    qint64 m_elapsed = 0;
    int m_groups = 0;
    int m_groupsThisHour = 0;
};

} // namespace

class TestWeek : public QObject {
    Q_OBJECT

private slots:
    // Monday 28 December 2026 to Monday 4 January 2027: seven midnights, a month end and the
    // year end, one tick a second.
    void aWeekSendsEveryMinuteOnce() {
        SyncRun week(utc(2026, 12, 28, 0, 0, 0));
        QString problem = week.run(kDay);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const qint64 afterFirstDay = memoryInUse();
        QVERIFY(afterFirstDay > 0);

        problem = week.run(kWeek - kDay);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const qint64 afterSeventhDay = memoryInUse();
        QCOMPARE(week.groups(), 7 * 24 * 60);
        QCOMPARE(week.panel().clock.now(), utc(2027, 1, 4, 0, 0, 0));

        qInfo("memory in use after day 1: %lld bytes, after day 7: %lld bytes", afterFirstDay,
              afterSeventhDay);
        QVERIFY2(afterSeventhDay - afterFirstDay <= kGrowthMargin,
                 qPrintable(QStringLiteral("grew by %1 bytes from day 1 to day 7")
                                .arg(afterSeventhDay - afterFirstDay)));
    }

    // Month ends of every kind, two-digit year roll-overs, and February in years where the
    // calendar and the panel's two-digit leap rule agree or not (2100 has no 29 February).
    void wallClockEdges_data() {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<int>("groups");
        const qint64 tenMinutes = 600;
        const qint64 aDayAndTenMinutes = kDay + tenMinutes;
        QTest::newRow("leap February 2028")
            << utc(2028, 2, 28, 23, 55, 0) << aDayAndTenMinutes << 24 * 60 + 10;
        QTest::newRow("leap February 2000")
            << utc(2000, 2, 28, 23, 55, 0) << aDayAndTenMinutes << 24 * 60 + 10;
        QTest::newRow("common February") << utc(2027, 2, 28, 23, 55, 0) << tenMinutes << 10;
        QTest::newRow("February 2100") << utc(2100, 2, 28, 23, 55, 0) << tenMinutes << 10;
        QTest::newRow("30-day month") << utc(2026, 4, 30, 23, 55, 0) << tenMinutes << 10;
        QTest::newRow("year 99 to 00") << utc(2099, 12, 31, 23, 55, 0) << tenMinutes << 10;
        QTest::newRow("mid-minute start") << utc(2026, 12, 31, 23, 58, 31) << tenMinutes << 10;
    }

    void wallClockEdges() {
        QFETCH(QDateTime, start);
        QFETCH(qint64, seconds);
        QFETCH(int, groups);
        SyncRun run(start);
        const QString problem = run.run(seconds);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(run.groups(), groups);
    }

    // A day through the ticker with a timer that fires anywhere up to a second after its last
    // firing, early or late: every minute's second 00 is still seen, and its group sent, once.
    void aJitteryTimerSendsEveryMinuteOnce() {
        const QDateTime start = utc(2026, 12, 31, 12, 0, 0);
        MemoryPanel panel(start.addMSecs(-1));
        Ticker& ticker = panel.core.ticker();
        panel.connectButton().click();
        panel.sync.setChecked(true);

        std::mt19937 random(7);
        std::uniform_int_distribution<int> interval(1, 1000);
        QDateTime nextMinute = start;
        const QDateTime end = start.addSecs(kDay);
        int groups = 0;
        for (;;) {
            panel.clock.set(panel.clock.now().addMSecs(interval(random)));
            if (panel.clock.now() >= end)
                break;
            const std::size_t before = panel.port.writes().size();
            ticker.poll();
            const std::size_t made = panel.port.writes().size() - before;
            if (made == 0)
                continue;
            const std::vector<QByteArray> expected = clockGroup(nextMinute);
            QVERIFY2(panel.clock.now() >= nextMinute && panel.clock.now() < nextMinute.addSecs(1),
                     qPrintable(QStringLiteral("at %1 a group for %2 was due")
                                    .arg(panel.clock.now().toString(Qt::ISODateWithMs),
                                         nextMinute.toString(Qt::ISODate))));
            QCOMPARE(shown(panel.port.writes(), before), shown(expected, 0));
            ++groups;
            nextMinute = nextMinute.addSecs(60);
            panel.port.clearWritten();
        }
        QCOMPARE(groups, 24 * 60);
        ticker.stop();
    }
};

QTEST_GUILESS_MAIN(TestWeek)
#include "tst_week.moc"
