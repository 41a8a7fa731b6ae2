#include "support/mosquittobroker.h"
#include "support/processoutput.h"
#include "support/ptypair.h"

#include <QtTest>

// velk-ctl on a bus line: each command as one request through a mosquitto of the test's own to a
// real `velk-ctl bridge` on a pseudo-terminal pair, the bytes read at the far end; what it
// refuses at the door with nothing published, and what the broker or the bridge refuse.

using namespace velk;
using velk::test::MosquittoBroker;

namespace {

const QString kCtlPath = QStringLiteral(VELK_CTL_PATH);
const QString kBase = QStringLiteral("velk/hall");

} // namespace

class TestCtlBus : public QObject {
    Q_OBJECT

    std::unique_ptr<MosquittoBroker> m_broker;
    std::unique_ptr<test::PtyPair> m_pty;
    QProcess m_bridge;

    QString lineUrl(const QString& base = kBase) const {
        return QStringLiteral("mqtt://127.0.0.1:%1/%2").arg(m_broker->port()).arg(base);
    }

private slots:
    void initTestCase() {
        m_broker = std::make_unique<MosquittoBroker>(MosquittoBroker::Tls::With);
        QVERIFY2(m_broker->isReady(), qPrintable(m_broker->error()));
        m_pty = std::make_unique<test::PtyPair>();
        QVERIFY2(m_pty->isReady(), qPrintable(m_pty->error()));
        m_bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_bridge.start(kCtlPath, {"--port", m_pty->near(), "bridge", "--broker", m_broker->url(),
                                  "--credentials", m_broker->credentialsFile(), "--topic", kBase,
                                  "--addresses", "1-3,all", "--no-sync"});
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "online"));
    }
    void cleanupTestCase() {
        m_bridge.terminate();
        m_bridge.waitForFinished();
    }

    // Every command, with its exit status, what it says on standard error and the bytes that
    // reach the line (for `time now` the bridge's clock moves: "_" stands for any byte).
    void commands_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray none;
        QTest::newRow("title") << QStringList{"title", "2", "Hall 2"} << 0 << ""
                               << QByteArray("/T\x02Hall 2\r");
        QTest::newRow("clear all")
            << QStringList{"clear", "all"} << 0 << "" << QByteArray("/T\xff\r");
        QTest::newRow("time given") << QStringList{"time", "2030-02-03 04:05"} << 0 << ""
                                    << QByteArray("/M05/H04/m02/Y30/D03");
        QTest::newRow("time now") << QStringList{"time"} << 0 << ""
                                  << QByteArray("/M__/H__/m__/Y__/D__");
        QTest::newRow("an address the bridge lacks")
            << QStringList{"title", "9", "x"} << 1
            << "address \"9\": not one this bridge answers for" << none;
        QTest::newRow("refused at the door")
            << QStringList{"title", "1", "tab\there"} << 2 << "cannot show" << none;
        QTest::newRow("sync") << QStringList{"sync"} << 2 << "the bridge keeps the minute" << none;
        QTest::newRow("time zone") << QStringList{"--time-zone", "Europe/Berlin", "time"} << 2
                                   << "the bridge's own time zone" << none;
        QTest::newRow("settings") << QStringList{"--settings", "1200,N,8,1", "clear", "1"} << 2
                                  << "--settings" << none;
        QTest::newRow("bridge option")
            << QStringList{"--no-sync", "clear", "1"} << 2 << "--no-sync" << none;
    }
    void commands() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QByteArray, bytes);
        const test::ProgramRun run =
            test::runProgram(kCtlPath, QStringList{"--port", lineUrl(), "--credentials",
                                                   m_broker->credentialsFile()} +
                                           arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        const QByteArray line = m_pty->drainFar();
        QCOMPARE(line.size(), bytes.size());
        for (int i = 0; i < bytes.size(); ++i)
            QVERIFY2(bytes[i] == '_' || bytes[i] == line[i], line.constData());
    }

    // status prints what the bridge keeps retained; it answers for bus lines only.
    void status() {
        QVERIFY(m_broker->publish(kBase + "/1/title/set", "x")); // no response topic: as today
        QVERIFY(m_broker->waitForRetained(kBase + "/1/title", "x"));
        const QStringList access{"--port", lineUrl(), "--credentials", m_broker->credentialsFile()};
        QProcess ctl;
        ctl.start(kCtlPath, access + QStringList{"status"});
        QVERIFY(ctl.waitForFinished());
        QCOMPARE(ctl.exitCode(), 0);
        const QString report = QString::fromUtf8(ctl.readAllStandardOutput());
        for (const QString& line :
             QStringList{"bridge: online", "line: " + m_pty->near() + " 9600,N,8,1",
                         QString("sync: off"), QString("PC clock of the bridge: "),
                         QString("title 1: \"x\""), QString("title all: ")})
            QVERIFY2(report.contains(line), qPrintable(report));
        m_pty->drainFar();
        QVERIFY(
            test::runProgram(kCtlPath, {"--port", "1", "status"}).err.contains("only for a bus"));
    }

    // Failures of the broker or the bridge: exit 1 at once, never a retry.
    void unreachable_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("credentials"); // empty: none
        QTest::addColumn<QString>("said");
        QTest::newRow("no bridge under BASE") << "velk/none"
                                              << "yes"
                                              << "the bridge for velk/none is offline";
        QTest::newRow("no credentials") << kBase << ""
                                        << "refused the connection";
        QTest::newRow("wrong password") << kBase << "wrong"
                                        << "refused the connection";
        // Nothing listens: said at once, never taken for a TLS handshake on its way nor for a
        // certificate the CA does not accept.
        for (const char* url :
             {"mqtt://127.0.0.1:1/", "mqtts://127.0.0.1:1/", "ca mqtts://127.0.0.1:1/"})
            QTest::newRow(url) << QString(url) << "yes"
                               << "cannot connect to the broker";
    }
    void unreachable() {
        QFETCH(QString, base);
        QFETCH(QString, credentials);
        QFETCH(QString, said);
        QString url = base.contains("://") ? base.section(' ', -1) + kBase : lineUrl(base);
        QStringList arguments{"--port", url};
        if (base.startsWith("ca "))
            arguments << "--ca" << m_broker->caFile();
        if (credentials == "yes")
            arguments << "--credentials" << m_broker->credentialsFile();
        else if (!credentials.isEmpty())
            arguments << "--credentials"
                      << m_broker->writeCredentials("wrong", MosquittoBroker::kUser, "no", 0600);
        const test::ProgramRun run =
            test::runProgram(kCtlPath, arguments + QStringList{"clear", "1"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        QVERIFY2(!run.err.contains("certificate"), qPrintable(run.err));
        QCOMPARE(m_pty->drainFar(), QByteArray());
    }

    // velk-monitor on the bus line shows the frames the bridge publishes, decoded.
    void monitorReadsTheFrames() {
        // Written once: the fixture writes the file anew on each call.
        const QString credentials = m_broker->credentialsFile();
        QProcess monitor;
        monitor.start(QStringLiteral(VELK_MONITOR_PATH),
                      {"--credentials", credentials, "--duration", "20", lineUrl()});
        QVERIFY(monitor.waitForStarted());
        QByteArray seen;
        // Its subscription holds some time after it starts: a title is sent until one shows.
        for (int attempt = 0; attempt < 20 && !seen.contains("Monitored"); ++attempt) {
            QCOMPARE(test::runProgram(kCtlPath, {"--port", lineUrl(), "--credentials", credentials,
                                                 "title", "1", "Monitored"})
                         .status,
                     0);
            monitor.waitForReadyRead(300);
            seen += monitor.readAllStandardOutput();
        }
        QVERIFY2(seen.contains("Monitored"), (seen + monitor.readAllStandardError()).constData());
        monitor.terminate();
        QVERIFY(monitor.waitForFinished());
        QCOMPARE(monitor.exitCode(), 0);
        m_pty->drainFar();
    }

    // mqtts: the broker's certificate checked against --ca; a wrong authority is named at once.
    void mqtts_data() {
        QTest::addColumn<bool>("rightCa");
        QTest::newRow("the broker's CA") << true;
        QTest::newRow("another CA") << false;
    }
    void mqtts() {
        QFETCH(bool, rightCa);
        const test::ProgramRun run =
            test::runProgram(kCtlPath, {"--port", m_broker->tlsUrl() + "/" + kBase, "--credentials",
                                        m_broker->credentialsFile(), "--ca",
                                        rightCa ? m_broker->caFile() : m_broker->otherCaFile(),
                                        "title", "3", "TLS"});
        QCOMPARE(run.status, rightCa ? 0 : 1);
        QVERIFY2(rightCa || run.err.contains("certificate"), qPrintable(run.err));
        QCOMPARE(m_pty->drainFar(), rightCa ? QByteArray("/T\x03TLS\r") : QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestCtlBus)
#include "tst_ctlbus.moc"
