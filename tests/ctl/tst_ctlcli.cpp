#include "clock/clockcapture.h"
#include "clock/datetimerig.h"
#include "clocksync/clockcommands.h"
#include "ctl/ctloptions.h"
#include "ctl/oneshot.h"
#include "doubles/fakeclock.h"
#include "doubles/fixedportmapping.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"
#include "port/qtserialport.h"
#include "support/processoutput.h"
#include "support/ptypair.h"
#include "titles/titlecommands.h"
#include "titles/titlerule.h"
#include "transmit/transmitter.h"
#include "wire/frames.h"

#include <QtTest>

#include <csignal>

// The built velk-ctl on the near end of a pseudo-terminal pair, what reaches the far end
// compared byte for byte with what the panel's own commands write for the same action.

using namespace velk;
using velk::test::waitForOutput;

namespace {

constexpr int kWaitMs = 15000;

// The build hands the test the program's path (velk_hand_program_to_tests).
const QString kCtlPath = QStringLiteral(VELK_CTL_PATH);

using Run = test::ProgramRun;

Run runCtl(const QStringList& arguments) {
    return test::runProgram(kCtlPath, arguments, kWaitMs);
}

// The panel's Send, Clear or Set Time on its controls in memory: the address picked from the
// list, the text pasted into the title box, the date and time picked from the drop-downs (for
// "now", filled by Update Time from `pcClock`).
QByteArray panelWrites(const QString& action, int addressIndex, const QString& text,
                       const ClockValues& clock, const LocalClock& pcClock = FakeClock()) {
    MemorySerialPort port;
    port.open();
    MemoryMessageBox messages;
    Transmitter transmitter(port, messages);
    if (action == QLatin1String("settime") || action == QLatin1String("now")) {
        test::DateTimeRig selectors;
        ClockCapture capture(pcClock);
        ClockCommands commands(transmitter, selectors.entry, capture);
        if (action == QLatin1String("now"))
            commands.updateTimeClicked();
        else
            selectors.fill(clock);
        commands.setTimeClicked();
        return port.written();
    }
    MemorySelector address(frames::addressEntries());
    MemoryTextBox title(kTitleLength);
    title.setInputFilter(titlerule::inputFilter());
    TitleCommands commands(transmitter, address, title, messages);
    address.pick(addressIndex);
    title.paste(text);
    if (action == QLatin1String("send"))
        commands.sendClicked();
    else
        commands.clearClicked();
    return port.written();
}

} // namespace

class TestCtlCli : public QObject {
    Q_OBJECT

private slots:
    void writesWhatThePanelWrites_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("address"); // position on the panel's address list
        QTest::addColumn<QString>("text");
        QTest::addColumn<ClockValues>("clock");
        const ClockValues none;
        QTest::newRow("title") << QStringList{"title", "7", "Hall 3"} << "send" << 7 << "Hall 3"
                               << none;
        QTest::newRow("title to all, Latin-1, a line break")
            << QStringList{"title", "ALL", "Caf\u00e9\nOpen"} << "send" << 0 << "Caf\u00e9\nOpen"
            << none;
        QTest::newRow("20 characters after --")
            << QStringList{"title", "254", "--", "-10 \u00b0C in the hall!"} << "send" << 254
            << "-10 \u00b0C in the hall!" << none;
        QTest::newRow("clear all") << QStringList{"clear", "all"} << "clear" << 0 << "" << none;
        QTest::newRow("time") << QStringList{"time", "2026-12-07 17:05"} << "settime" << 0 << ""
                              << test::clockValues("17", "05", "00", "07", "12", "26");
        QTest::newRow("time in two words, leap day")
            << QStringList{"--settings", "19200,E,7,2", "time", "2028-02-29", "00:59"} << "settime"
            << 0 << "" << test::clockValues("00", "59", "00", "29", "02", "28");
    }
    void writesWhatThePanelWrites() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, action);
        QFETCH(int, address);
        QFETCH(QString, text);
        QFETCH(ClockValues, clock);
        test::PtyPair pty;
        QVERIFY2(pty.isReady(), qPrintable(pty.error()));
        const Run run = runCtl(QStringList{"--port", pty.near()} + arguments);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        const QByteArray expected = panelWrites(action, address, text, clock);
        QVERIFY(!expected.isEmpty());
        // Everything is on the line when the program has ended.
        QCOMPARE(pty.readFar(int(expected.size()), 2000), expected);
        QCOMPARE(pty.drainFar(50), QByteArray());
    }

    // "time" alone takes the PC clock as Update Time does, then sends it as Set Time does.
    void timeNowIsUpdateTimeThenSetTime() {
        test::PtyPair pty;
        QVERIFY2(pty.isReady(), qPrintable(pty.error()));
        const FakeClock pcClock(QDateTime(QDate(2031, 7, 4), QTime(8, 9, 59)));
        const CtlOptions options = CtlOptions::parse({"velk-ctl", "--port", pty.near(), "time"});
        QtSerialPort port(options.port, std::make_unique<FixedPortMapping>());
        int status = -1;
        runOnce(options, port, pcClock, [&status](int done, const QString&) { status = done; });
        QCOMPARE(pty.readFarWhileRunning(20, 2000), panelWrites("now", 0, {}, {}, pcClock));
        QTRY_COMPARE(status, 0);
    }

    // Exit status and the one line on standard error.
    void exitStatus_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("version") << QStringList{"--version"} << 0 << "";
        QTest::newRow("no command") << QStringList{} << 2 << "no command given";
        QTest::newRow("unknown command")
            << QStringList{"reset"} << 2 << "unknown command \"reset\"";
        QTest::newRow("unknown option") << QStringList{"--fast", "sync"} << 2 << "Unknown option";
        QTest::newRow("port without value")
            << QStringList{"clear", "1", "--port"} << 2 << "--port: expected a Comport number 1-16";
        QTest::newRow("address 0")
            << QStringList{"clear", "0"} << 2 << "address \"0\": expected 1-254 or all";
        QTest::newRow("address missing") << QStringList{"clear"} << 2 << "clear: expected ADDRESS";
        QTest::newRow("title unquoted")
            << QStringList{"title", "3", "Hall", "3"} << 2 << "got 3 arguments";
        QTest::newRow("title 21 characters, a line break counting as a blank")
            << QStringList{"title", "3", "ABCDEFGHIJ\nKLMNOPQRST"} << 2
            << "has 21 characters; a display shows at most 20";
        QTest::newRow("title with a tab") << QStringList{"title", "3", "A\tB"} << 2 << "U+0009";
        QTest::newRow("title the displays cannot show")
            << QStringList{"title", "3", "5 \u2713"} << 2 << "cannot show: \"\u2713\"";
        QTest::newRow("time not a date")
            << QStringList{"time", "tomorrow"} << 2 << "expected now or \"YYYY-MM-DD HH:MM\"";
        QTest::newRow("time 31 April")
            << QStringList{"time", "2026-04-31 10:00"} << 2 << "that month has 30 days";
        QTest::newRow("time 24:00")
            << QStringList{"time", "2026-04-30 24:00"} << 2 << "the hour is out of range";
        QTest::newRow("sync with an argument")
            << QStringList{"sync", "now"} << 2 << "sync: expected no arguments, got 1 argument (";
        QTest::newRow("clock with an argument")
            << QStringList{"clock", "now"} << 2 << "clock: expected no arguments";
        QTest::newRow("require-synced without sync")
            << QStringList{"--require-synced", "clear", "1"} << 2
            << "--require-synced: only with sync";
        QTest::newRow("no such device")
            << QStringList{"--port", "/nonexistent/ttyUSB9", "clear", "1"} << 1
            << "Cannot open /nonexistent/ttyUSB9: no such device.\nCheck the cable and the USB "
               "adapter, or name another port with --port.";
        QTest::newRow("sync on no such device")
            << QStringList{"--port", "/nonexistent/ttyUSB9", "sync"} << 1
            << "Cannot open /nonexistent/ttyUSB9: no such device.";
    }
    void exitStatus() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const Run run = runCtl(arguments);
        QCOMPARE(run.status, status);
        if (status == 0)
            QCOMPARE(run.err, QString());
        else
            QVERIFY2(run.err.startsWith("velk-ctl: ") && run.err.contains(message),
                     qPrintable(run.err));
        if (status == 2)
            QCOMPARE(run.err.count('\n'), 1);
        // Words of the window would only puzzle someone at a prompt.
        QVERIFY2(!run.err.contains("SETTING") && !run.err.contains("CONNECT"), qPrintable(run.err));
    }

    // One line, its word matching the exit status; which state depends on the machine.
    void clockSaysTheStateInOneLine() {
        QProcess ctl;
        ctl.start(kCtlPath, {"clock"});
        QVERIFY(ctl.waitForFinished(kWaitMs));
        const QString out = QString::fromUtf8(ctl.readAllStandardOutput());
        const QHash<int, QString> words{{0, "PC clock: synchronised"},
                                        {3, "PC clock: not synchronised"},
                                        {4, "PC clock: unknown"}};
        QVERIFY2(words.contains(ctl.exitCode()), qPrintable(out));
        QVERIFY2(out.startsWith(words.value(ctl.exitCode())), qPrintable(out));
        QCOMPARE(out.count('\n'), 1);
    }

    // The sync outlives its device and ends on SIGTERM with status 0.
    void syncWaitsForALostDeviceAndEndsOnTerm() {
        auto pty = std::make_unique<test::PtyPair>();
        QVERIFY2(pty->isReady(), qPrintable(pty->error()));
        QProcess ctl;
        ctl.start(kCtlPath, {"--port", pty->near(), "sync"});
        QVERIFY(ctl.waitForStarted(kWaitMs));
        QByteArray seen;
        QVERIFY2(waitForOutput(ctl, QProcess::StandardError, seen, "sync on: Com 1 at 9600,N,8,1"),
                 seen.constData());
        pty->stop(); // unplugged
        QVERIFY2(waitForOutput(ctl, QProcess::StandardError, seen,
                               "no clock groups until Com 1 is back"),
                 seen.constData());
        QVERIFY2(seen.contains("): the device was disconnected\n") && !seen.contains("ioctl"),
                 seen.constData());
        QVERIFY2(
            waitForOutput(ctl, QProcess::StandardError, seen, "waiting for Com 1 to come back"),
            seen.constData());
        ::kill(pid_t(ctl.processId()), SIGTERM);
        QVERIFY(ctl.waitForFinished(kWaitMs));
        QCOMPARE(ctl.exitStatus(), QProcess::NormalExit);
        QCOMPARE(ctl.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCtlCli)
#include "tst_ctlcli.moc"
