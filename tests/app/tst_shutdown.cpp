// Closing the main window ends the whole program at once, with exit status 0, sending nothing of
// its own, while bytes already handed to the port still reach the line. A request to end from
// the system (a signal) takes the same way out.

#include "support/ptypair.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>

using velk::test::PtyPair;

class TestShutdown : public QObject {
    Q_OBJECT

private:
    static QByteArray runScenario(PtyPair& pair, const QString& scenario, int expectBytes) {
        QProcess driver;
        driver.setProcessChannelMode(QProcess::ForwardedChannels);
        driver.start(QStringLiteral(PANEL_DRIVER), {pair.near(), scenario});
        [&] { QVERIFY(driver.waitForStarted(10000)); }();
        // The far end is read while the program runs, so its output can never back up.
        QByteArray line = pair.readFar(expectBytes, expectBytes > 0 ? 10000 : 1);
        [&] {
            QVERIFY2(driver.waitForFinished(20000), "the program did not end");
            QCOMPARE(driver.exitStatus(), QProcess::NormalExit);
            QCOMPARE(driver.exitCode(), 0);
        }();
        return line + pair.drainFar(200);
    }

    // The lock file the serial port keeps for the device while it is open, or empty if none.
    // Qt's lock file for the device a port opened: named after the device itself, the name
    // under /dev/ when it has one.
    static QString lockFileOf(const QString& device) {
        QString held = QFileInfo(device).canonicalFilePath();
        if (held.startsWith(QLatin1String("/dev/")))
            held = held.mid(5);
        const QString name = QStringLiteral("LCK..") + held.replace('/', '_');
        for (const QString& dir : {QStringLiteral("/var/lock"), QStringLiteral("/run/lock"),
                                   QStringLiteral("/tmp"), QDir::tempPath()}) {
            const QString path = dir + '/' + name;
            if (QFileInfo::exists(path))
                return path;
        }
        return {};
    }

private slots:
    void closingEndsTheProgram_data() {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("port open") << "connect-close";
        QTest::newRow("dialog showing") << "dialog-close";
        QTest::newRow("dialog hidden") << "hidden-dialog-close";
    }
    void closingEndsTheProgram() {
        QFETCH(QString, scenario);
        PtyPair pair;
        QVERIFY2(pair.isReady(), qPrintable(pair.error()));
        QCOMPARE(runScenario(pair, scenario, 0), QByteArray());
    }

    // The window manager's close request, with a message box open: Qt alone would drop it while
    // the box is modal. Needs a real X server; a fresh one is started for the test.
    void closingWithAMessageBoxOpenEndsTheProgram() {
        const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (xvfbRun.isEmpty())
            QSKIP("xvfb-run is not installed");
        PtyPair pair;
        QVERIFY2(pair.isReady(), qPrintable(pair.error()));
        QProcess driver;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // Under the leak checker: the D-Bus library Qt's X11 side loads keeps one allocation of
        // its own to the end; only that is let pass.
        QTemporaryFile suppressions;
        QVERIFY(suppressions.open() && suppressions.write("leak:libdbus-1.so\n") > 0);
        suppressions.flush();
        env.insert(QStringLiteral("LSAN_OPTIONS"), "suppressions=" + suppressions.fileName());
        driver.setProcessEnvironment(env);
        driver.start(xvfbRun, {"-a", "-s", "-nolisten tcp", QStringLiteral(PANEL_DRIVER),
                               pair.near(), "box-close"});
        QVERIFY(driver.waitForStarted(10000));
        const bool ended = driver.waitForFinished(20000);
        const QByteArray out = driver.readAllStandardOutput();
        QVERIFY2(out.contains("box open: Pick an address from the list."),
                 (out + driver.readAllStandardError()).constData());
        QVERIFY2(ended, "the program did not end");
        QCOMPARE(driver.exitStatus(), QProcess::NormalExit);
        QCOMPARE(driver.exitCode(), 0);
        QCOMPARE(pair.drainFar(200), QByteArray());
    }

    void bytesHandedToThePortReachTheLine() {
        PtyPair pair;
        QVERIFY2(pair.isReady(), qPrintable(pair.error()));
        QCOMPARE(runScenario(pair, "send-close", 20), QByteArray("/T\xFFTitle String ...\r"));
    }

    void signalsEndTheProgramAsClosingDoes_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalsEndTheProgramAsClosingDoes() {
        QFETCH(int, signal);
        PtyPair pair;
        QVERIFY2(pair.isReady(), qPrintable(pair.error()));
        QProcess driver;
        driver.setProcessChannelMode(QProcess::SeparateChannels);
        driver.setReadChannel(QProcess::StandardOutput);
        driver.start(QStringLiteral(PANEL_DRIVER), {pair.near(), "send-wait"});
        QVERIFY(driver.waitForStarted(10000));
        while (!driver.canReadLine())
            QVERIFY2(driver.waitForReadyRead(10000), driver.readAllStandardError().constData());
        QCOMPARE(driver.readLine(), QByteArray("sent\n"));
        const QString lock = lockFileOf(pair.near());
        QVERIFY2(!lock.isEmpty(), "the open port holds no lock file");

        ::kill(pid_t(driver.processId()), signal);
        const QByteArray line = pair.readFar(20, 10000);
        QVERIFY2(driver.waitForFinished(20000), "the program did not end");
        QCOMPARE(driver.exitStatus(), QProcess::NormalExit);
        QCOMPARE(driver.exitCode(), 0);
        QCOMPARE(line + pair.drainFar(200), QByteArray("/T\xFFTitle String ...\r"));
        QVERIFY2(!QFileInfo::exists(lock), qPrintable(lock + " was left behind"));
    }
};

QTEST_GUILESS_MAIN(TestShutdown)
#include "tst_shutdown.moc"
