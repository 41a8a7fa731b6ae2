#include "monitor/monitoroptions.h"

#include <QtTest>

using namespace velk;

class TestMonitorOptions : public QObject {
    Q_OBJECT
private slots:
    void readsLineSettings_data();
    void readsLineSettings();
    void readsCommandLines_data();
    void readsCommandLines();
    void refusesCommandLines_data();
    void refusesCommandLines();
};

void TestMonitorOptions::readsLineSettings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // empty: refused
    QTest::newRow("baud only") << "19200"
                               << "19200,N,8,1";
    QTest::newRow("all four") << "1200,E,7,2"
                              << "1200,E,7,2";
    QTest::newRow("lower-case parity") << "9600,o,8,1"
                                       << "9600,O,8,1";
    QTest::newRow("five data bits") << "9600,N,5,1"
                                    << "9600,N,5,1";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("baud not a number") << "fast"
                                       << "";
    QTest::newRow("baud 0") << "0"
                            << "";
    QTest::newRow("negative baud") << "-9600"
                                   << "";
    QTest::newRow("unknown parity") << "9600,M,8,1"
                                    << "";
    QTest::newRow("nine data bits") << "9600,N,9,1"
                                    << "";
    QTest::newRow("three stop bits") << "9600,N,8,3"
                                     << "";
    QTest::newRow("three fields") << "9600,N,8"
                                  << "";
    QTest::newRow("five fields") << "9600,N,8,1,1"
                                 << "";
}

void TestMonitorOptions::readsLineSettings() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QString error;
    const auto settings = MonitorOptions::readLine(text, &error);
    QCOMPARE(settings ? settings->text() : QString(), expected);
    QCOMPARE(error.isEmpty(), !expected.isEmpty());
}

void TestMonitorOptions::readsCommandLines_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("summary");
    QTest::addColumn<qint64>("durationMs");
    QTest::newRow("device only") << QStringList{"ttyUSB0"} << "ttyUSB0"
                                 << "9600,N,8,1" << false << qint64(0);
    QTest::newRow("everything") << QStringList{"--summary", "--duration", "2.5", "./pty",
                                               "38400,E,7,2"}
                                << "./pty"
                                << "38400,E,7,2" << true << qint64(2500);
    QTest::newRow("options after the device") << QStringList{"COM3", "--duration=1"} << "COM3"
                                              << "9600,N,8,1" << false << qint64(1000);
    QTest::newRow("a tiny duration still waits") << QStringList{"d", "--duration", "0.0001"} << "d"
                                                 << "9600,N,8,1" << false << qint64(1);
}

void TestMonitorOptions::readsCommandLines() {
    QFETCH(QStringList, arguments);
    const MonitorOptions options = MonitorOptions::parse(QStringList{"velk-monitor"} + arguments);
    QCOMPARE(options.error, QString());
    QCOMPARE(options.outcome, MonitorOptions::Outcome::Run);
    QTEST(options.device, "device");
    QTEST(options.line.text(), "line");
    QTEST(options.summary, "summary");
    QTEST(options.durationMs, "durationMs");
}

// The common refusals are checked on the built tool, with their exit status.
void TestMonitorOptions::refusesCommandLines_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<MonitorOptions::Outcome>("outcome");
    const auto usage = MonitorOptions::Outcome::UsageError;
    QTest::newRow("help wins over a device")
        << QStringList{"-h", "tty"} << MonitorOptions::Outcome::Help;
    QTest::newRow("too many arguments") << QStringList{"tty", "9600", "extra"} << usage;
    QTest::newRow("duration without value") << QStringList{"tty", "--duration"} << usage;
    QTest::newRow("duration 0") << QStringList{"tty", "--duration", "0"} << usage;
    QTest::newRow("negative duration") << QStringList{"tty", "--duration", "-1"} << usage;
    QTest::newRow("duration beyond the timer") << QStringList{"tty", "--duration", "1e10"} << usage;
}

void TestMonitorOptions::refusesCommandLines() {
    QFETCH(QStringList, arguments);
    QFETCH(MonitorOptions::Outcome, outcome);
    const MonitorOptions options = MonitorOptions::parse(QStringList{"velk-monitor"} + arguments);
    QCOMPARE(options.outcome, outcome);
    QCOMPARE(options.error.isEmpty(), outcome == MonitorOptions::Outcome::Help);
}

QTEST_GUILESS_MAIN(TestMonitorOptions)
#include "tst_monitoroptions.moc"
