// The panel's command line: what it starts, what it refuses, and the start it makes on the
// panel's core over in-memory controls, with the wait for a vanished device.

#include "memorypanel.h"

#include "app/devicewait.h"
#include "app/startoptions.h"
#include "clocksync/clockcommands.h"
#include "clocksync/statuspanels.h"

#include <QtTest>

using namespace velk;
using namespace velk::test;

namespace {

const QDateTime kStart(QDate(2007, 3, 19), QTime(14, 5, 30));

StartSettings startWith(const QString& line) {
    StartOptions options;
    options.read(QStringList{"velk-pro"} + line.split(' '));
    return options.settings();
}

// A start in one line, e.g. "Com 1=/dev/ttyUSB0 19200,E,7,2 applied sync".
QString summary(const StartSettings& start) {
    QString text =
        QStringLiteral("Com %1").arg(start.port.lineName.number) +
        (start.port.lineName.kind == LineName::Kind::Comport ? QString()
                                                             : '=' + start.port.lineName.text()) +
        ' ' + start.port.line.text();
    const std::pair<bool, const char*> flags[] = {{start.portGiven, " applied"},
                                                  {start.connect, " connect"},
                                                  {start.sync, " sync"},
                                                  {start.twelveHour, " 12h"},
                                                  {start.reconnect, " reconnect"}};
    for (const auto& [set, word] : flags)
        text += set ? word : "";
    return text;
}

const QString kTaken = "; the panel takes --port, --settings, --credentials, --ca, --connect, "
                       "--sync, --12h, --reconnect, --help and --version";
const QString kPort = "--port: expected a Comport number 1-16, a device path, "
                      "rfc2217://HOST:PORT, tcp://HOST:PORT or mqtt(s)://HOST[:PORT]/BASE, got ";

} // namespace

class TestStartOptions : public QObject {
    Q_OBJECT

private slots:
    // Command lines once Qt took its own options: the start they make, or the refusal.
    void read_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("result");
        QTest::newRow("nothing") << ""
                                 << "Com 1 9600,N,8,1";
        QTest::newRow("unattended") << "--port 1 --connect --sync --reconnect"
                                    << "Com 1 9600,N,8,1 applied connect sync reconnect";
        QTest::newRow("as the status bar shows") << "--settings 19200,E,7,2 --12h"
                                                 << "Com 1 19200,E,7,2 applied 12h";
        const QString device = QDir::rootPath() + "dev/ttyUSB0"; // with its drive on Windows
        QTest::newRow("device") << "--port=" + device + " --settings=1200,o,5,1"
                                << "Com 1=" + device + " 1200,O,5,1 applied";
        QTest::newRow("port 0") << "--port 0"
                                << "--port: Comport 0 is out of range, expected 1-16";
        QTest::newRow("no value") << "--sync --port" << kPort + "nothing";
        QTest::newRow("rate the dialog lacks")
            << "--settings 115200,N,8,1"
            << "--settings: the panel offers 1200, 2400, 4800, 9600, 14400, 19200, 28800 or "
               "38400 baud, got \"115200,N,8,1\"";
        QTest::newRow("bad parity") << "--settings 9600,X,8,1"
                                    << "--settings: expected BAUD,PARITY,DATA,STOP such as "
                                       "9600,N,8,1, got \"9600,X,8,1\" (parity \"X\" is not E, "
                                       "O or N)";
        QTest::newRow("unknown") << "--sync --synch"
                                 << "unknown option \"--synch\"" + kTaken;
        QTest::newRow("stray") << "--port 2 3"
                               << "unexpected argument \"3\"" + kTaken;
        QTest::newRow("value on a switch") << "--connect=yes"
                                           << "--connect: takes no value, got \"--connect=yes\"";
        // A bus line's broker access: files, for bus lines only, the CA for mqtts only.
        const QString file = QCoreApplication::applicationFilePath();
        QTest::newRow("credentials, serial line")
            << "--port 2 --credentials " + file
            << "--credentials: only for a bus line (--port mqtt://HOST[:PORT]/BASE)";
        QTest::newRow("bus line") << "--port mqtts://b/velk/hall --ca " + file + " --connect"
                                  << "Com 1=mqtts://b:8883/velk/hall 9600,N,8,1 applied connect";
        QTest::newRow("CA without TLS")
            << "--port mqtt://b/v --ca " + file << "--ca: only for an mqtts:// bus line";
        QTest::newRow("unreadable credentials")
            << "--port mqtt://b/v --credentials " + file + ".none"
            << "--credentials: cannot read \"" + file + ".none\"";
        QTest::newRow("CA without a value") << "--port mqtts://b/v --ca"
                                            << "--ca: expected a FILE, got nothing";
    }
    // Both readings judge a line without Qt's options alike: the one before Qt starts, with no
    // display, refuses everything the second would.
    void read() {
        QFETCH(QString, line);
        QFETCH(QString, result);
        for (const bool beforeQt : {false, true}) {
            StartOptions options;
            const auto outcome = options.read(
                QStringList{"velk-pro"} + line.split(' ', Qt::SkipEmptyParts), beforeQt);
            const bool run = outcome == StartOptions::Outcome::Run;
            QCOMPARE(run ? summary(options.settings()) : options.refusal(), result);
        }
    }

    // Before Qt takes its own options they and their values are passed over; the rest is judged
    // at once, and help and version are answered, with no display needed.
    void firstReading_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<StartOptions::Outcome>("outcome");
        QTest::newRow("Qt's") << "-platform xcb -style=fusion --port 2"
                              << StartOptions::Outcome::Run;
        QTest::newRow("Qt's with their values")
            << "-style fusion -reverse --display :9 -qwindowtitle T --sync"
            << StartOptions::Outcome::Run;
        QTest::newRow("wrong") << "-platform xcb --port 17" << StartOptions::Outcome::Refused;
        QTest::newRow("help") << "--port 0 -h" << StartOptions::Outcome::Help;
        QTest::newRow("version") << "-reverse --version" << StartOptions::Outcome::Version;
        QTest::newRow("nobody's") << "-platform xcb --synch" << StartOptions::Outcome::Refused;
        QTest::newRow("stray after Qt's")
            << "-platform xcb extra-arg" << StartOptions::Outcome::Refused;
        QTest::newRow("stray after a switch of Qt's")
            << "-reverse xcb" << StartOptions::Outcome::Refused;
    }
    void firstReading() {
        QFETCH(QString, line);
        QFETCH(StartOptions::Outcome, outcome);
        StartOptions options;
        QCOMPARE(options.read(QStringList{"velk-pro"} + line.split(' '), true), outcome);
    }

    // Options set what the dialog would, apply it as Ok does, and press CONNECT once started.
    void optionsActAsTheOperatorWould() {
        MemoryPanel p(kStart, startWith("--port 3 --settings 19200,E,7,2 --12h --sync --connect"));
        QCOMPARE(p.port.configurationLog(), (QStringList{"CommPort=3", "Settings=19200,E,7,2"}));
        QVERIFY(p.core.clockCommands().twelveHourMode());
        QVERIFY(p.sync.isChecked());
        p.port.refuseOpen("Cannot open Comport 3");
        p.core.started();
        QCOMPARE(p.messages.shown().size(), size_t(1));
        p.port.refuseOpen({});
        p.core.started();
        QCOMPARE(p.statusBar.panelText(2), QString("Com 3 : 19200,E,7,2  "));

        // The dialog shows the run's start; Restore Defaults still means the defaults.
        p.disconnectButton().click();
        p.settingButton().click();
        QStringList shown;
        for (int index = 0; index < SettingsDialogLogic::kSelectorCount; ++index)
            shown << p.settingsDialog().config(index).text();
        QCOMPARE(shown, (QStringList{"19200", "7", "Even", "2", "Comport 3"}));
        p.settingsDialog().restoreDefaults().click();
        shown.clear();
        for (int index = 0; index < SettingsDialogLogic::kSelectorCount; ++index)
            shown << p.settingsDialog().config(index).text();
        QCOMPARE(shown, (QStringList{"9600", "8", "None", "1", "Comport 1"}));
    }

    // While waiting the first panel says so, also after a notice had its few seconds; the
    // operator's CONNECT ends the waiting even when the device is still away. (Without
    // --reconnect the randomized sessions see a lost port leave the first panel alone.)
    void waitingShowsUntilTheOperatorTakesOver() {
        MemoryPanel p(kStart, startWith("--port 3 --connect --reconnect"));
        p.core.started();
        p.port.refuseOpen("gone");
        p.port.lose();
        QVERIFY(p.core.deviceWait().reconnector().isWaiting());
        const QString waiting = "Waiting for the device on Com 3 ...";
        QCOMPARE(p.statusBar.panels().mid(0, 2),
                 (QStringList{waiting, "Com :  Not Connected    "}));
        p.title.type(QString::fromUtf8("✓")); // in no set a display shows
        QCOMPARE(p.statusBar.panelText(1), kLeftOutNotice);
        p.clock.advance(StatusPanels::kNoticeSeconds);
        p.tick();
        QCOMPARE(p.statusBar.panelText(1), waiting);

        p.connectButton().click();
        QVERIFY(!p.core.deviceWait().reconnector().isWaiting());
        QCOMPARE(p.statusBar.panelText(1), QString("Status"));
    }

    // After a reboot the adapter may not be there yet: the failure is shown as CONNECT shows it,
    // and the waiting has begun before the box, which nobody may close, is up.
    void anAbsentDeviceAtStartIsWaitedFor() {
        MemoryPanel p(kStart, startWith("--connect --reconnect"));
        p.port.refuseOpen("no such device");
        bool waitingWhileBoxOpen = false;
        p.messages.whileOpen(
            [&] { waitingWhileBoxOpen = p.core.deviceWait().reconnector().isWaiting(); });
        p.core.started();
        QCOMPARE(p.messages.shown().size(), size_t(1));
        QVERIFY(waitingWhileBoxOpen);

        p.port.refuseOpen(QString());
        p.core.deviceWait().reconnector().attempt();
        QVERIFY(p.port.isOpen());
        QCOMPARE(p.statusBar.panelText(1), QString("Status"));

        // SETTING may change the port waited for: the operator has taken over.
        p.disconnectButton().click();
        p.port.refuseOpen("gone");
        p.connectButton().click();
        p.core.deviceWait().portLost();
        p.settingButton().click();
        QVERIFY(!p.core.deviceWait().reconnector().isWaiting());
    }
};

QTEST_GUILESS_MAIN(TestStartOptions)
#include "tst_startoptions.moc"
