#include "clock/zonedclock.h"
#include "ctl/ctloptions.h"
#include "ctl/servicecommand.h"
#include "ctl/serviceevents.h"
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
        QTest::addColumn<int>("offsetMinutes");
        QTest::addColumn<QByteArray>("group");
        QTest::newRow("off") << false << QByteArray("UTC") << 0 << QByteArray();
        QTest::newRow("UTC") << true << QByteArray("UTC") << 0
                             << QByteArray("/M00/H00/m01/Y27/D01");
        QTest::newRow("Kathmandu, 5:45 ahead")
            << true << QByteArray("Asia/Kathmandu") << 345 << QByteArray("/M45/H05/m01/Y27/D01");
        QTest::newRow("Honolulu, the day before")
            << true << QByteArray("Pacific/Honolulu") << -600 << QByteArray("/M00/H14/m12/Y26/D31");
    }
    void groupsFollowTheSwitchAndTheZone() {
        QFETCH(bool, on);
        QFETCH(QByteArray, zone);
        QFETCH(int, offsetMinutes);
        QFETCH(QByteArray, group);
        FakeClock utc(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58, 5), Qt::UTC));
        const QTimeZone timeZone(zone);
        // Wine's zone table lacks some zones or their offsets; the rule is tested where it has
        // them.
        if (timeZone.offsetFromUtc(utc.now()) != offsetMinutes * 60)
            QSKIP("this system's time zone data does not have the zone as it is");
        const ZonedClock clock(utc, timeZone);
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
        // A network line's service has a name of its own, never COM1's.
        row("network line", "--port rfc2217://10.0.0.5:4001 service install", "",
            "VELK-Pro sync 10.0.0.5_4001", "--port rfc2217://10.0.0.5:4001 sync --as-service");
        row("network line removed", "--port tcp://panel-host:2000 service remove", "",
            "VELK-Pro sync panel-host_2000", "--port tcp://panel-host:2000 sync --as-service");
        // The service's name holds no path; its command line names the device as given.
        row("device path", "--port \\\\.\\COM10 service install", "", "VELK-Pro sync COM10",
            "--port \\\\.\\COM10 sync --as-service");
        row("bridge removed", "--port COM4 service remove bridge", "", "VELK-Pro bridge COM4",
            "--port COM4 bridge --as-service");
        row("bridge needs its broker", "--port COM4 service install bridge",
            "--broker: bridge needs the broker's URL");
        row("bridge install",
            "--port COM4 service install bridge --broker mqtt://hub --topic "
            "site/hall --no-sync",
            "", "VELK-Pro bridge COM4",
            "--port COM4 bridge --broker mqtt://hub --topic site/hall --no-sync --as-service");
        row("bridge under the manager", "--port COM4 bridge --broker mqtt://hub --as-service", "",
            "VELK-Pro bridge COM4", "--port COM4 bridge --as-service");
        row("bridge options for the sync", "--port COM4 service install --broker mqtt://hub",
            "--broker: only for bridge");
        // The displays' zone goes on the service's command line, for either kind.
        row("sync in a time zone", "--port COM4 service install --time-zone UTC", "",
            "VELK-Pro sync COM4", "--port COM4 sync --time-zone UTC --as-service");
        row("bridge in a time zone",
            "--port COM4 service install bridge --broker mqtt://hub --time-zone UTC", "",
            "VELK-Pro bridge COM4",
            "--port COM4 bridge --broker mqtt://hub --time-zone UTC --as-service");
        row("time zone for a removal", "--port COM4 service remove --time-zone UTC",
            "--time-zone: only with");
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

    // The two kinds of service on one line are each other's rivals; names carry no separator.
    void serviceNames_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("bridge");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("rival");
        QTest::newRow("comport") << "3" << false << "VELK-Pro sync COM3"
                                 << "VELK-Pro bridge COM3";
        QTest::newRow("bridge") << "3" << true << "VELK-Pro bridge COM3"
                                << "VELK-Pro sync COM3";
        QTest::newRow("network") << "rfc2217://[fe80::1]:4001" << true
                                 << "VELK-Pro bridge fe80__1_4001"
                                 << "VELK-Pro sync fe80__1_4001";
        QTest::newRow("device") << "/dev/ttyUSB0" << false << "VELK-Pro sync ttyUSB0"
                                << "VELK-Pro bridge ttyUSB0";
    }
    void serviceNames() {
        QFETCH(QString, port);
        QFETCH(bool, bridge);
        CtlOptions options;
        QString why;
        options.port = LineName::parse(port, &why).value_or(LineName());
        QVERIFY2(why.isEmpty(), qPrintable(why));
        options.serviceKind =
            bridge ? CtlOptions::ServiceKind::Bridge : CtlOptions::ServiceKind::Sync;
        QTEST(servicecommand::serviceName(options), "name");
        QTEST(servicecommand::rivalName(options), "rival");
    }

    // What the event log is told each line means.
    void eventIds_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("id");
        QTest::newRow("sync on") << "sync on: COM1 at 9600,N,8,1" << int(serviceevents::kStarted);
        QTest::newRow("bridge on")
            << "bridge for COM1 under velk/COM1 on mqtt://hub:1883" << int(serviceevents::kStarted);
        QTest::newRow("sync off") << "sync off" << int(serviceevents::kStopped);
        QTest::newRow("line lost")
            << "no clock groups until COM1 is back" << int(serviceevents::kLineLost);
        QTest::newRow("line back")
            << "clock groups go on from the next whole minute" << int(serviceevents::kLineBack);
        QTest::newRow("clock held") << "PC clock: not synchronised; no clock groups until it is "
                                       "synchronised"
                                    << int(serviceevents::kClockNotSynchronised);
        QTest::newRow("clock synchronised")
            << "PC clock: synchronised" << int(serviceevents::kOther);
        QTest::newRow("refused") << "refused: velk/COM1/7/title/set: address 7 is not listed"
                                 << int(serviceevents::kRefusedCommand);
    }
    void eventIds() {
        QFETCH(QString, line);
        QTEST(int(serviceevents::idFor(line)), "id");
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
