#include "clock/zonedclock.h"
#include "ctl/ctloptions.h"
#include "ctl/servicecommand.h"
#include "ctl/syncservice.h"
#include "doubles/fakeclock.h"
#include "doubles/fakeclockstate.h"
#include "doubles/memoryserialport.h"
#include "wire/frames.h"

#include <QtTest>

using namespace velk;

namespace {

constexpr int kGroupBytes = 20;

// The clock group the panel's sync writes for the minute `at` begins.
QByteArray groupFor(const QDateTime& at) {
    const QString year = at.toString(QStringLiteral("yy"));
    return frames::clockFrame('M', at.toString(QStringLiteral("mm"))) +
           frames::clockFrame('H', at.toString(QStringLiteral("HH"))) +
           frames::clockFrame('m', at.toString(QStringLiteral("MM"))) +
           frames::clockFrame('Y', year) +
           frames::clockFrame('D', at.toString(QStringLiteral("dd")));
}

// The sync on a port in memory, its seconds delivered by polling the tick as the timer would,
// a test clock moving underneath; the device's retries come every 2 s of that clock.
struct SyncRig {
    SyncRig() { clock.set(clock.now().addMSecs(5)); }
    // Moves the clock on second by second, 5 ms past each whole second as the tick's timer
    // wakes, and polls the tick there.
    void run(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1);
            if (sync.reconnector().isWaiting() && clock.now().time().second() % 2 == 0)
                sync.reconnector().attempt();
            sync.ticker().poll();
        }
    }
    FakeClock clock{QDateTime(QDate(2026, 12, 31), QTime(23, 58, 30))};
    MemorySerialPort port;
    FakeClockState clockState;
    SyncService sync{port, clock, clockState};
};

} // namespace

class TestSyncService : public QObject {
    Q_OBJECT

private slots:
    // One group per whole minute, across midnight and the new year; none while the device is
    // gone, none made up once it is back, the next whole minute's as soon as it is.
    void oneGroupPerMinuteAndNoneWhileTheDeviceIsGone() {
        SyncRig rig;
        QString failure = "none";
        rig.sync.start(CtlOptions(), [&failure](const QString& why) { failure = why; });
        QCOMPARE(failure, QString());
        QVERIFY(rig.sync.ticker().isActive());
        rig.sync.ticker().poll(); // a second already delivered sends nothing again
        rig.run(30 + 60 + 10);    // to 00:00:10
        const QDateTime minute2359(QDate(2026, 12, 31), QTime(23, 59));
        const QDateTime minute0000(QDate(2027, 1, 1), QTime(0, 0));
        QCOMPARE(rig.port.written(), groupFor(minute2359) + groupFor(minute0000));
        QCOMPARE(rig.port.writes().size(), std::size_t(10)); // each clock frame in one write

        // Unplugged at 00:00:10, back after 00:03:30: minutes 01, 02 and 03 pass without it.
        rig.port.clearWritten();
        rig.port.refuseOpen(QStringLiteral("Cannot open: no such device."));
        QTest::ignoreMessage(QtWarningMsg, "no clock groups until Com 1 is back");
        rig.port.lose();
        QVERIFY(rig.sync.reconnector().isWaiting());
        rig.run(200); // to 00:03:30
        QCOMPARE(rig.port.written(), QByteArray());
        QVERIFY(!rig.port.isOpen());
        rig.port.refuseOpen({});
        rig.run(2); // the next try opens it
        QVERIFY(rig.port.isOpen());
        QVERIFY(!rig.sync.reconnector().isWaiting());
        rig.run(27); // to 00:03:59
        QCOMPARE(rig.port.written(), QByteArray());
        rig.run(1);
        QCOMPARE(rig.port.written(), groupFor(minute0000.addSecs(4 * 60)));
        rig.run(120);
        QCOMPARE(rig.port.written(), groupFor(minute0000.addSecs(4 * 60)) +
                                         groupFor(minute0000.addSecs(5 * 60)) +
                                         groupFor(minute0000.addSecs(6 * 60)));
        QCOMPARE(rig.sync.transmitter().bytesHanded(), qint64(5 * kGroupBytes));

        qint64 unsent = -1;
        rig.sync.stop([&unsent](qint64 count) { unsent = count; });
        QCOMPARE(unsent, qint64(0));
        QVERIFY(!rig.port.isOpen());
        QVERIFY(!rig.sync.ticker().isActive());
    }

    // With --require-synced nothing goes out while the clock is not synchronised, said once;
    // synchronised again, the groups go on from the next whole minute. Without it the sync
    // goes on and warns.
    void aClockNotSynchronisedHoldsOnlyWhenRequired_data() {
        QTest::addColumn<bool>("require");
        QTest::addColumn<int>("groupsWhileNotSynchronised");
        QTest::addColumn<QString>("warning");
        QTest::newRow("required") << true << 0
                                  << "PC clock: not synchronised (maxerror 16 s); no clock groups "
                                     "until it is synchronised";
        QTest::newRow("hold-over") << false << 2
                                   << "PC clock: not synchronised (maxerror 16 s); the displays "
                                      "follow it all the same (hold-over)";
    }
    void aClockNotSynchronisedHoldsOnlyWhenRequired() {
        QFETCH(bool, require);
        QFETCH(int, groupsWhileNotSynchronised);
        QFETCH(QString, warning);
        SyncRig rig;
        rig.clockState.set(ClockState::Sync::NotSynchronised, {}, QStringLiteral("maxerror 16 s"));
        CtlOptions options;
        options.requireSynced = require;
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning)); // once only
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QString failure = "none";
        rig.sync.start(options, [&failure](const QString& why) { failure = why; });
        QCOMPARE(failure, QString());
        rig.run(30 + 60 + 30); // to 00:00:30, over two whole minutes
        QCOMPARE(rig.port.written().size(), qsizetype(groupsWhileNotSynchronised * kGroupBytes));

        rig.clockState.set(ClockState::Sync::Synchronised, 900, QStringLiteral("maxerror 3 ms"));
        rig.run(30); // to 00:01:00
        QCOMPARE(rig.port.written().size(),
                 qsizetype((groupsWhileNotSynchronised + 1) * kGroupBytes));
        QCOMPARE(rig.port.written().right(20), groupFor(QDateTime(QDate(2027, 1, 1), QTime(0, 1))));
    }

    // The groups follow the switch and the line's time zone, whatever the PC's.
    void groupsFollowTheSwitchAndTheZone_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QByteArray>("group");
        QTest::newRow("off") << false << QByteArray("UTC") << QByteArray();
        QTest::newRow("UTC") << true << QByteArray("UTC") << QByteArray("/M00/H00/m01/Y27/D01");
        QTest::newRow("Kathmandu, 5:45 ahead")
            << true << QByteArray("Asia/Kathmandu") << QByteArray("/M45/H05/m01/Y27/D01");
        QTest::newRow("Honolulu, the day before")
            << true << QByteArray("Pacific/Honolulu") << QByteArray("/M00/H14/m12/Y26/D31");
    }
    void groupsFollowTheSwitchAndTheZone() {
        QFETCH(bool, on);
        QFETCH(QByteArray, zone);
        QFETCH(QByteArray, group);
        FakeClock utc(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58, 5), Qt::UTC));
        const ZonedClock clock(utc, QTimeZone(zone));
        MemorySerialPort port;
        FakeClockState clockState;
        SyncService sync(port, clock, clockState);
        sync.setSyncOn(on);
        sync.start(CtlOptions(), {});
        for (int second = 0; second < 3; ++second) {
            utc.advance(1);
            sync.ticker().poll();
        }
        QCOMPARE(port.written(), group);
    }

    // A port that cannot be opened is said so at once, in the port's words, and nothing ticks.
    void aPortThatCannotBeOpenedStopsTheStart() {
        SyncRig rig;
        rig.port.refuseOpen(QStringLiteral("Cannot open /dev/ttyUSB0: permission denied."));
        CtlOptions options;
        options.port = LineName::comport(3);
        QString failure;
        rig.sync.start(options, [&failure](const QString& why) { failure = why; });
        QCOMPARE(failure, QStringLiteral("Cannot open /dev/ttyUSB0: permission denied."));
        QCOMPARE(rig.port.name(), LineName::comport(3));
        QVERIFY(!rig.sync.ticker().isActive());
        QVERIFY(!rig.sync.reconnector().isWaiting());
    }

    // The sync as a Windows service: what `service` and the service's own command line are
    // read as; elsewhere both are refused with the reason.
    void serviceCommands_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("refusal"); // a part of it; empty: accepted
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("runs"); // what the service's command line holds
        const auto row = [](const char* tag, const QString& words, const QString& refusal,
                            const QString& name = {}, const QString& runs = {}) {
            QTest::newRow(tag) << (QStringList{"velk-ctl"} + words.split(' ')) << refusal << name
                               << runs;
        };
#ifdef Q_OS_WIN
        row("install", "--port COM3 service install", "", "VELK-Pro sync COM3",
            "--port COM3 sync --as-service");
        row("install by number, with settings", "--port 5 --settings 19200,E,7,2 service install",
            "", "VELK-Pro sync COM5", "--port COM5 --settings 19200,E,7,2 sync --as-service");
        row("remove beyond COM16", "--port COM20 service remove", "", "VELK-Pro sync COM20",
            "--port COM20 sync --as-service");
        row("no port", "service install", "service install: expected --port COMn");
        row("no action", "--port COM3 service", "service: expected install or remove");
        row("unknown action", "--port COM3 service start", "service: expected install or remove");
        row("two actions", "--port COM3 service install remove",
            "service: expected install or remove");
        row("under the manager", "--port COM3 sync --as-service", "", "VELK-Pro sync COM3",
            "--port COM3 sync --as-service");
#else
        row("install", "--port 3 service install", "service: Windows only");
        row("under the manager", "--port 3 sync --as-service", "--as-service: Windows only");
#endif
    }
    void serviceCommands() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, refusal);
        QFETCH(QString, name);
        QFETCH(QString, runs);
        const CtlOptions options = CtlOptions::parse(arguments);
        if (!refusal.isEmpty()) {
            QCOMPARE(options.outcome, CtlOptions::Outcome::UsageError);
            QVERIFY2(options.error.startsWith(refusal), qPrintable(options.error));
            return;
        }
        QVERIFY2(options.outcome == CtlOptions::Outcome::Run, qPrintable(options.error));
        QCOMPARE(servicecommand::serviceName(options), name);
        QCOMPARE(servicecommand::serviceArguments(options).join(' '), runs);
        QCOMPARE(options.asService, arguments.contains("--as-service"));
    }

    // The help names how this system asks the sync to end.
    void helpSaysHowSyncEnds() {
        const CtlOptions options = CtlOptions::parse({"velk-ctl", "--help"});
#ifdef Q_OS_WIN
        QVERIFY2(options.help.contains("Ctrl+C or a service stop"), qPrintable(options.help));
        QVERIFY(!options.help.contains("SIGTERM"));
#else
        QVERIFY2(options.help.contains("SIGTERM or SIGINT"), qPrintable(options.help));
        QVERIFY(!options.help.contains("service install"));
#endif
    }
};

QTEST_GUILESS_MAIN(TestSyncService)
#include "tst_syncservice.moc"
