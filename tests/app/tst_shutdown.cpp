// Closing the main window ends the whole program at once, with exit status 0, sending nothing of
// its own, while bytes already handed to the port still reach the line.

#include "support/ptypair.h"

#include <QProcess>
#include <QTest>

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

    void bytesHandedToThePortReachTheLine() {
        PtyPair pair;
        QVERIFY2(pair.isReady(), qPrintable(pair.error()));
        QCOMPARE(runScenario(pair, "send-close", 20), QByteArray("/T\xFFTitle String ...\r"));
    }
};

QTEST_GUILESS_MAIN(TestShutdown)
#include "tst_shutdown.moc"
