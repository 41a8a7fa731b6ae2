#include "app/startoptions.h"

#include <QtTest>

using namespace velk;

namespace {

// A start in one line: "Com 3 19200,E,7,2 applied sync", with "=DEVICE" after a pinned number.
QString summary(const StartSettings& start) {
    QStringList words{QStringLiteral("Com %1").arg(start.port.portNumber) +
                          (start.device.isEmpty() ? QString() : '=' + start.device),
                      start.port.line.text()};
    const std::pair<bool, const char*> flags[] = {{start.portGiven, "applied"},
                                                  {start.connect, "connect"},
                                                  {start.sync, "sync"},
                                                  {start.twelveHour, "12h"},
                                                  {start.reconnect, "reconnect"}};
    for (const auto& [set, word] : flags) {
        if (set)
            words << word;
    }
    return words.join(' ');
}

const QString kTaken = "the panel takes --port, --settings, --connect, --sync, --12h, "
                       "--reconnect, --help and --version";

} // namespace

class TestStartOptions : public QObject {
    Q_OBJECT

private slots:
    // Command lines after Qt took its own options: the start they make, or the one-line
    // refusal (the summary column then holds the refusal).
    void read_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("result");
        QTest::newRow("nothing") << "" << true << "Com 1 9600,N,8,1";
        QTest::newRow("unattended") << "--port 1 --connect --sync --reconnect" << true
                                    << "Com 1 9600,N,8,1 applied connect sync reconnect";
        QTest::newRow("status bar form")
            << "--settings 19200,E,7,2 --12h" << true << "Com 1 19200,E,7,2 applied 12h";
        QTest::newRow("device") << "--port=/dev/ttyUSB0 --settings=1200,o,5,1" << true
                                << "Com 1=/dev/ttyUSB0 1200,O,5,1 applied";
        QTest::newRow("single dash")
            << "-port 16 -sync" << true << "Com 16 9600,N,8,1 applied sync";
        QTest::newRow("port 0")
            << "--port 0" << false
            << "--port: expected a Comport number 1-16 or a device path, got \"0\"";
        QTest::newRow("port without value")
            << "--sync --port" << false
            << "--port: expected a Comport number 1-16 or a device path, got nothing";
        QTest::newRow("option as port")
            << "--port --connect" << false
            << "--port: expected a Comport number 1-16 or a device path, got \"--connect\"";
        QTest::newRow("a rate the dialog lacks")
            << "--settings 115200,N,8,1" << false
            << "--settings: the panel offers 1200, 2400, 4800, 9600, 14400, 19200, 28800 or "
               "38400 baud, got \"115200,N,8,1\"";
        QTest::newRow("one and a half stop bits")
            << "--settings 9600,N,8,1.5" << false
            << "--settings: expected BAUD,PARITY,DATA,STOP such as 9600,N,8,1, got "
               "\"9600,N,8,1.5\" (stop bits \"1.5\" are not 1 or 2)";
        QTest::newRow("unknown") << "--sync --synch" << false
                                 << "unknown option \"--synch\"; " + kTaken;
        QTest::newRow("stray argument")
            << "--port 2 3" << false << "unexpected argument \"3\"; " + kTaken;
        QTest::newRow("value on a switch")
            << "--connect=yes" << false << "--connect: takes no value, got \"--connect=yes\"";
    }
    void read() {
        QFETCH(QString, line);
        QFETCH(bool, accepted);
        QFETCH(QString, result);
        StartOptions options;
        const auto outcome =
            options.read(QStringList{"velk-pro"} + line.split(' ', Qt::SkipEmptyParts));
        QCOMPARE(outcome, accepted ? StartOptions::Outcome::Run : StartOptions::Outcome::Refused);
        QCOMPARE(accepted ? summary(options.settings()) : options.refusal(), result);
    }

    // Before Qt takes its own options: they are passed over, but a wrong value of ours, help and
    // version are answered at once.
    void firstReading_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<StartOptions::Outcome>("outcome");
        QTest::newRow("Qt's options")
            << "-platform offscreen -style=fusion --port 2" << StartOptions::Outcome::Run;
        QTest::newRow("wrong value")
            << "-platform offscreen --port 17" << StartOptions::Outcome::Refused;
        QTest::newRow("help") << "--port 0 -h" << StartOptions::Outcome::Help;
        QTest::newRow("version") << "-reverse --version" << StartOptions::Outcome::Version;
    }
    void firstReading() {
        QFETCH(QString, line);
        QFETCH(StartOptions::Outcome, outcome);
        StartOptions options;
        QCOMPARE(options.read(QStringList{"velk-pro"} + line.split(' '), true), outcome);
    }
};

QTEST_GUILESS_MAIN(TestStartOptions)
#include "tst_startoptions.moc"
