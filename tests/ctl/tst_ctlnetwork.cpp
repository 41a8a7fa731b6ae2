#include "ctl/ctloptions.h"
#include "ctl/syncservice.h"
#include "doubles/fakeclock.h"
#include "doubles/fakeclockstate.h"
#include "port/networkport.h"
#include "support/loopbackport.h"
#include "support/processoutput.h"
#include "support/ptypair.h"
#include "support/ser2net.h"
#include "wire/frames.h"

#include <QTcpServer>
#include <QtTest>

#include <csignal>

// velk-ctl and the minute sync on a line served by a real ser2net, whose port is the near end of
// a pseudo-terminal pair: what reaches the far end must be what reaches a local serial line.

using namespace velk;
using velk::test::PtyPair;
using velk::test::Ser2net;

namespace {

constexpr int kWaitMs = 15000;
const QString kCtlPath = QStringLiteral(VELK_CTL_PATH);

using Run = test::ProgramRun;

Run runCtl(const QStringList& arguments) {
    return test::runProgram(kCtlPath, arguments, kWaitMs);
}

// A pseudo-terminal pair with ser2net serving its near end.
struct ServedLine {
    PtyPair pty;
    Ser2net server{pty.near()};
    QString url(bool rfc2217) const { return rfc2217 ? server.rfc2217Url() : server.tcpUrl(); }
};

} // namespace

class TestCtlNetwork : public QObject {
    Q_OBJECT

private slots:
    void bytesArriveAsOnASerialLine_data() {
        QTest::addColumn<bool>("rfc2217");
        QTest::addColumn<QStringList>("command");
        for (const bool rfc2217 : {true, false}) {
            const char* kind = rfc2217 ? "rfc2217" : "tcp";
            QTest::addRow("%s title to all (address byte 0xFF)", kind)
                << rfc2217 << QStringList{"title", "all", "Hall \u00ff3"};
            QTest::addRow("%s clear", kind) << rfc2217 << QStringList{"clear", "7"};
            QTest::addRow("%s time", kind) << rfc2217 << QStringList{"time", "2026-12-24 18:00"};
        }
    }
    void bytesArriveAsOnASerialLine() {
        QFETCH(bool, rfc2217);
        QFETCH(QStringList, command);
        PtyPair local;
        QVERIFY2(local.isReady(), qPrintable(local.error()));
        QCOMPARE(runCtl(QStringList{"--port", local.near()} + command).status, 0);
        const QByteArray expected = local.drainFar();
        QVERIFY(!expected.isEmpty());

        ServedLine line;
        QVERIFY2(line.server.isReady(), qPrintable(line.server.error()));
        const Run run = runCtl(QStringList{"--port", line.url(rfc2217)} + command);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(line.pty.readFar(int(expected.size()), 5000) + line.pty.drainFar(100), expected);
    }

    // The served port takes the settings while the line is open (the server confirmed all four,
    // or the line would not have opened).
    void settingsReachTheServedPort() {
        ServedLine line;
        QVERIFY2(line.server.isReady(), qPrintable(line.server.error()));
        QProcess ctl;
        ctl.start(kCtlPath, {"--port", line.url(true), "--settings", "19200,E,7,2", "sync"});
        QVERIFY(ctl.waitForStarted(kWaitMs));
        QByteArray seen;
        QVERIFY2(test::waitForOutput(ctl, QProcess::StandardError, seen, "sync on:"),
                 seen.constData());
        QVERIFY2(seen.contains(line.server.rfc2217Url().mid(10).toUtf8() + " at 19200,E,7,2"),
                 seen.constData());
        QProcess stty;
        stty.start("stty", {"-F", QFileInfo(line.pty.near()).canonicalFilePath(), "-a"});
        QVERIFY(stty.waitForFinished(kWaitMs));
        const QString shown = QString::fromLocal8Bit(stty.readAllStandardOutput());
        QVERIFY2(shown.startsWith("speed 19200 baud;"), qPrintable(shown));
        // A pseudo-terminal keeps 8 data bits and no parity whatever it is told.
        QVERIFY2(shown.simplified().split(' ').contains("cstopb"), qPrintable(shown));
        ::kill(pid_t(ctl.processId()), SIGTERM);
        QVERIFY(ctl.waitForFinished(kWaitMs));
        QCOMPARE(ctl.exitCode(), 0);
    }

    // Each refusal in one line, exit status 2; each failure names HOST:PORT and says why.
    void refusalsAndFailures_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString closed = QString::number(test::freeTcpPort());
        QTest::newRow("no port") << "rfc2217://127.0.0.1" << 2 << "--port: no port in";
        QTest::newRow("no host") << "tcp://:4001" << 2 << "--port: no host in";
        QTest::newRow("unknown scheme") << "ssh://127.0.0.1:22" << 2 << "unknown scheme";
        QTest::newRow("refused, rfc2217")
            << "rfc2217://127.0.0.1:" + closed << 1
            << "Cannot open 127.0.0.1:" + closed + ": the connection was refused.";
        QTest::newRow("refused, IPv6")
            << "tcp://[::1]:" + closed << 1
            << "Cannot open [::1]:" + closed + ": the connection was refused.";
        // A server that takes the connection and never answers the line settings.
        QTest::newRow("no answer") << "silent" << 1 << ": no answer within 5 s.";
    }
    void refusalsAndFailures() {
        QFETCH(QString, url);
        QFETCH(int, status);
        QFETCH(QString, message);
        ServedLine line;
        QVERIFY2(line.server.isReady(), qPrintable(line.server.error()));
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        if (url == "silent")
            url = "rfc2217://127.0.0.1:" + QString::number(silent.serverPort());
        const Run run = runCtl({"--port", url, "clear", "all"});
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.startsWith("velk-ctl: ") && run.err.contains(message),
                 qPrintable(run.err));
        if (status == 2)
            QCOMPARE(run.err.count('\n'), 1);
        if (status == 2) // refused at the door: nothing reached any server
            QCOMPARE(line.pty.drainFar(50), QByteArray());
    }

    // ser2net killed and started again: the sync waits as for an unplugged adapter, comes back,
    // and goes on at the next whole minute with nothing doubled or made up.
    void syncComesBackAfterTheServerRestarts() {
        ServedLine line;
        QVERIFY2(line.server.isReady(), qPrintable(line.server.error()));
        FakeClock clock(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58, 5)));
        CtlOptions options;
        options.port = *LineName::parse(line.url(true), nullptr);
        NetworkPort port(options.port);
        FakeClockState clockState;
        SyncService sync(port, clock, clockState);
        QString failure = "none";
        sync.start(options, [&failure](const QString& why) { failure = why; });
        QTRY_COMPARE(failure, QString());
        const auto run = [&](int seconds) {
            for (int second = 0; second < seconds; ++second) {
                clock.advance(1);
                sync.ticker().poll();
            }
        };
        // The port writes from the event loop: let it turn before looking at the far end.
        const auto nothingMore = [&line] {
            QTest::qWait(200);
            return line.pty.drainFar(50);
        };
        run(3); // 00:00:01
        QCOMPARE(line.pty.readFarWhileRunning(20).left(4), QByteArray("/M00"));
        QCOMPARE(nothingMore(), QByteArray());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("closed the connection|connection "
                                                              "lost"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no clock groups until"));
        line.server.stop();
        QTRY_VERIFY(sync.reconnector().isWaiting());
        run(60); // 00:01:01, nothing goes out meanwhile
        QVERIFY(line.server.restart());
        QTRY_VERIFY_WITH_TIMEOUT(port.isOpen(), 10000);
        run(30);
        QCOMPARE(nothingMore(), QByteArray());
        run(30); // 00:02:01
        QCOMPARE(line.pty.readFarWhileRunning(20).left(4), QByteArray("/M02"));
        QCOMPARE(nothingMore(), QByteArray());
        sync.stop({});
    }
};

QTEST_GUILESS_MAIN(TestCtlNetwork)
#include "tst_ctlnetwork.moc"
