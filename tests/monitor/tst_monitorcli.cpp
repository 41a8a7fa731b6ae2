#include "support/processoutput.h"
#include "support/ptypair.h"
#include "support/ser2net.h"

#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

// Runs the built velk-monitor on the far end of a pseudo-terminal pair and writes the line
// traffic at the near end, as the panel would.

using velk::test::waitForOutput;

namespace {
constexpr int kWaitMs = 15000;

// The build hands the test the program's path (velk_hand_program_to_tests).
const QString kMonitorPath = QStringLiteral(VELK_MONITOR_PATH);

bool writeNear(const QString& near, const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(near).constData(), O_WRONLY | O_NOCTTY);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::close(fd);
    return written;
}

// The lines without their timestamps, once each has been checked to carry one.
QStringList words(const QByteArray& output) {
    static const QRegularExpression stamped(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (.*)$"));
    QStringList lines;
    for (const QString& line : QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = stamped.match(line);
        lines << (match.hasMatch() ? match.captured(1) : QStringLiteral("UNSTAMPED ") + line);
    }
    return lines;
}

QStringList summaryOf(const QStringList& lines) {
    QStringList summary;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("UNSTAMPED summary: ")))
            summary << line.mid(10);
    }
    return summary;
}
} // namespace

class TestMonitorCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void printsFramesAsTheyArriveAndSummarisesOnTerm();
    void showsNoiseWhileItGoesOn();
    void endsWhenTheDeviceGoesAway();
    void endsAfterTheDuration();
    void readsANetworkLine_data();
    void readsANetworkLine();
    void exitStatus_data();
    void exitStatus();

private:
    void startOn(QProcess& monitor, const velk::test::PtyPair& pty, const QStringList& options);
};

void TestMonitorCli::initTestCase() {
    QVERIFY2(QFileInfo(kMonitorPath).isExecutable(),
             qPrintable(QStringLiteral("velk-monitor not built at ") + kMonitorPath));
}

void TestMonitorCli::startOn(QProcess& monitor, const velk::test::PtyPair& pty,
                             const QStringList& options) {
    monitor.start(kMonitorPath, options + QStringList{pty.far()});
    QVERIFY(monitor.waitForStarted(kWaitMs));
    QByteArray err;
    // The monitor announces itself on stderr once the device is open, so nothing written after
    // this can be missed.
    QVERIFY2(waitForOutput(monitor, QProcess::StandardError, err, "(read-only)"), err.constData());
}

void TestMonitorCli::printsFramesAsTheyArriveAndSummarisesOnTerm() {
    velk::test::PtyPair pty;
    QVERIFY2(pty.isReady(), qPrintable(pty.error()));
    QProcess monitor;
    // The duration only guards against a monitor that never stops.
    startOn(monitor, pty, {"--summary", "--duration", "60"});

    QVERIFY(writeNear(pty.near(), QByteArray("xx/T\x05"
                                             "A/B\r/T\xFF\r/XY/M05/H14/m03/Y07/D19")));
    QByteArray out;
    QVERIFY2(waitForOutput(monitor, QProcess::StandardOutput, out, "clock set to"),
             out.constData());
    QCOMPARE(words(out),
             (QStringList{"INVALID 78 78 (outside any frame)", "title to address 5: \"A/B\"",
                          "clear all devices", "INVALID 2F 58 59 (unknown command letter \"X\")",
                          "clock minute 05", "clock hour 14", "clock month 03", "clock year 07",
                          "clock day 19", "clock set to 14:05 on 19 March, year 07"}));

    // A frame still open when the monitor is told to stop is shown, not lost.
    QVERIFY(writeNear(pty.near(), QByteArray("/T\x03"
                                             "AB\r/T\x07"
                                             "C")));
    QVERIFY2(waitForOutput(monitor, QProcess::StandardOutput, out, "address 3"), out.constData());
    monitor.terminate();
    QVERIFY(monitor.waitForFinished(kWaitMs));
    out += monitor.readAllStandardOutput();
    QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(monitor.exitCode(), 0);

    const QStringList lines = words(out);
    QVERIFY(lines.contains("INVALID 2F 54 07 43 (frame cut off when monitoring ended)"));
    QCOMPARE(summaryOf(lines),
             (QStringList{"summary: address 3 shows \"AB\"",
                          "summary: every other address shows nothing (cleared) (last title to "
                          "all devices)",
                          "summary: clock last set to 14:05 on 19 March, year 07"}));
}

// A line carrying nothing but noise never falls quiet; what came is shown while it goes on.
void TestMonitorCli::showsNoiseWhileItGoesOn() {
    velk::test::PtyPair pty;
    QVERIFY2(pty.isReady(), qPrintable(pty.error()));
    QProcess monitor;
    startOn(monitor, pty, {"--duration", "60"});
    const int near = ::open(QFile::encodeName(pty.near()).constData(), O_WRONLY | O_NOCTTY);
    QVERIFY(near >= 0);
    const QByteArray noise(64, '\0');
    QByteArray out;
    QElapsedTimer streaming;
    streaming.start();
    while (!out.contains("(outside any frame)") && streaming.elapsed() < kWaitMs) {
        QCOMPARE(::write(near, noise.constData(), size_t(noise.size())), ssize_t(noise.size()));
        monitor.waitForReadyRead(10);
        out += monitor.readAllStandardOutput();
    }
    ::close(near);
    QVERIFY2(out.contains("INVALID 00 00 "), "nothing shown while the noise went on");
    monitor.terminate();
    QVERIFY(monitor.waitForFinished(kWaitMs));
}

void TestMonitorCli::endsWhenTheDeviceGoesAway() {
    velk::test::PtyPair pty;
    QVERIFY2(pty.isReady(), qPrintable(pty.error()));
    QProcess monitor;
    startOn(monitor, pty, {"--summary", "--duration", "60"});
    QVERIFY(writeNear(pty.near(), QByteArray("/T\x01"
                                             "ONE\r")));
    QByteArray out;
    QVERIFY2(waitForOutput(monitor, QProcess::StandardOutput, out, "ONE"), out.constData());

    pty.stop();
    QVERIFY(monitor.waitForFinished(kWaitMs));
    out += monitor.readAllStandardOutput();
    QCOMPARE(monitor.exitCode(), 0);
    const QByteArray err = monitor.readAllStandardError();
    QVERIFY2(err.contains("was disconnected; monitoring ended.") && !err.contains("ioctl"),
             err.constData());
    QCOMPARE(summaryOf(words(out)), (QStringList{"summary: address 1 shows \"ONE\"",
                                                 "summary: every other address: no title seen",
                                                 "summary: no clock frames seen"}));
}

void TestMonitorCli::endsAfterTheDuration() {
    velk::test::PtyPair pty;
    QVERIFY2(pty.isReady(), qPrintable(pty.error()));
    QProcess monitor;
    startOn(monitor, pty, {"--duration", "0.2"});
    QVERIFY(monitor.waitForFinished(kWaitMs));
    QCOMPARE(monitor.exitCode(), 0);
    QCOMPARE(monitor.readAllStandardOutput(), QByteArray());
}

// A line a device server serves, read over both URL kinds; the server going away ends it.
void TestMonitorCli::readsANetworkLine_data() {
    QTest::addColumn<bool>("rfc2217");
    QTest::newRow("rfc2217") << true;
    QTest::newRow("tcp") << false;
}
void TestMonitorCli::readsANetworkLine() {
    QFETCH(bool, rfc2217);
    velk::test::PtyPair pty;
    velk::test::Ser2net server(pty.near());
    QVERIFY2(server.isReady(), qPrintable(server.error()));
    QProcess monitor;
    monitor.start(kMonitorPath,
                  {rfc2217 ? server.rfc2217Url() : server.tcpUrl(), "--duration", "60"});
    QVERIFY(monitor.waitForStarted(kWaitMs));
    QByteArray err;
    QVERIFY2(waitForOutput(monitor, QProcess::StandardError, err, "(read-only)"), err.constData());
    // What the displays' line carries reaches the server's device from the other end.
    QVERIFY(writeNear(pty.far(), QByteArray("/T\xFF"
                                            "A\xFF\r/T\x07\r")));
    QByteArray out;
    QVERIFY2(waitForOutput(monitor, QProcess::StandardOutput, out, "clear address 7"),
             out.constData());
    QCOMPARE(words(out), (QStringList{"title to all devices: \"A\u00ff\"", "clear address 7"}));
    server.stop();
    QVERIFY(monitor.waitForFinished(kWaitMs));
    QCOMPARE(monitor.exitCode(), 0);
    QVERIFY2(monitor.readAllStandardError().contains("closed the connection; monitoring ended."),
             "no word of the end");
}

void TestMonitorCli::exitStatus_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: velk-monitor";
    QTest::newRow("no device") << QStringList{} << 2 << "no device given";
    QTest::newRow("bad parity") << QStringList{"DEV", "9600,X,8,1"} << 2
                                << "parity \"X\" is not E, O or N";
    QTest::newRow("bad duration") << QStringList{"DEV", "--duration", "x"} << 2 << "duration";
    QTest::newRow("unknown option") << QStringList{"--loud", "DEV"} << 2 << "loud";
    QTest::newRow("missing device") << QStringList{"DEV"} << 1 << "cannot open DEV";
    QTest::newRow("URL without a port")
        << QStringList{"rfc2217://127.0.0.1"} << 2 << ": no port in \"rfc2217://127.0.0.1\"";
    QTest::newRow("Comport 0") << QStringList{"0"} << 2 << ": Comport 0 is out of range";
}

// DEV stands for a path in an empty temporary directory, so no real port is ever touched.
void TestMonitorCli::exitStatus() {
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("missing"));
    arguments.replaceInStrings(QStringLiteral("DEV"), device);

    QProcess monitor;
    monitor.start(kMonitorPath, arguments);
    QVERIFY(monitor.waitForFinished(kWaitMs));
    QTEST(monitor.exitCode(), "exitCode");
    const QString printed =
        QString::fromUtf8(monitor.readAllStandardOutput() + monitor.readAllStandardError());
    QFETCH(QString, message);
    QVERIFY2(printed.contains(message.replace(QStringLiteral("DEV"), device)), qPrintable(printed));
}

QTEST_GUILESS_MAIN(TestMonitorCli)
#include "tst_monitorcli.moc"
