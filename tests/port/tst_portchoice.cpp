#include "port/fixedportmapping.h"
#include "port/portchoice.h"

#include <QCommandLineParser>
#include <QtTest>

using namespace velk;

class TestPortChoice : public QObject {
    Q_OBJECT

private slots:
    // What --port takes, under both ways of naming ports. An empty device means Comport N by
    // the system's mapping; an empty `refused` means accepted.
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("comNames");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("refused");
        const QString expected = "--port: expected a Comport number 1-16 or a device path, got ";
        QTest::newRow("1") << "1" << false << 1 << ""
                           << "";
        QTest::newRow("16") << "16" << false << 16 << ""
                            << "";
        QTest::newRow("blanks around") << " 7 " << false << 7 << ""
                                       << "";
        QTest::newRow("path") << "/dev/ttyUSB0" << false << 1 << "/dev/ttyUSB0"
                              << "";
        QTest::newRow("COM7 elsewhere") << "COM7" << false << 1 << "COM7"
                                        << "";
        QTest::newRow("COM7") << "COM7" << true << 7 << ""
                              << "";
        QTest::newRow("com16") << "com16" << true << 16 << ""
                               << "";
        QTest::newRow("COM17") << "COM17" << true << 1 << "COM17"
                               << "";
        QTest::newRow("COM0") << "COM0" << true << 1 << "COM0"
                              << "";
        QTest::newRow("COM07") << "COM07" << true << 1 << "COM07"
                               << "";
        QTest::newRow("0") << "0" << false << 0 << "" << expected + "\"0\"";
        QTest::newRow("17") << "17" << true << 0 << "" << expected + "\"17\"";
        QTest::newRow("negative") << "-3" << false << 0 << "" << expected + "\"-3\"";
        QTest::newRow("empty") << "" << false << 0 << "" << expected + "\"\"";
        QTest::newRow("blank") << "  " << true << 0 << "" << expected + "\"  \"";
        QTest::newRow("an option") << "--connect" << false << 0 << "" << expected + "\"--connect\"";
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, comNames);
        QFETCH(int, number);
        QFETCH(QString, device);
        QFETCH(QString, refused);
        QString why;
        const std::optional<PortChoice> choice = PortChoice::parse(text, &why, comNames);
        QCOMPARE(why, refused);
        QCOMPARE(choice.has_value(), refused.isEmpty());
        if (choice)
            QCOMPARE(*choice, (PortChoice{number, device}));
    }

    // Whole command lines through the shared options; `port` is "N" or "N DEVICE".
    void options_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("refused");
        QTest::newRow("none") << QStringList{} << ""
                              << ""
                              << "";
        QTest::newRow("number") << QStringList{"--port", "3"} << "3"
                                << ""
                                << "";
        QTest::newRow("device, settings")
            << QStringList{"--port=/dev/pts/4", "--settings", "19200,e,7,2"} << "1 /dev/pts/4"
            << "19200,E,7,2"
            << "";
        QTest::newRow("last one counts") << QStringList{"--port", "2", "--port", "5"} << "5"
                                         << ""
                                         << "";
        QTest::newRow("bad parity")
            << QStringList{"--settings", "9600,X,8,1"} << ""
            << ""
            << "--settings: expected BAUD,PARITY,DATA,STOP such as 9600,N,8,1, got "
               "\"9600,X,8,1\" (parity \"X\" is not E, O or N)";
        QTest::newRow("three parts")
            << QStringList{"--settings=9600,N,8"} << ""
            << ""
            << "--settings: expected BAUD,PARITY,DATA,STOP such as 9600,N,8,1, got \"9600,N,8\" "
               "(line settings \"9600,N,8\" are not BAUD,PARITY,DATA,STOP)";
        QTest::newRow("port refused before settings")
            << QStringList{"--settings", "x", "--port", "99"} << ""
            << ""
            << "--port: expected a Comport number 1-16 or a device path, got \"99\"";
    }
    void options() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, port);
        QFETCH(QString, settings);
        QFETCH(QString, refused);
        QCommandLineParser parser;
        PortOptions::addTo(parser);
        QVERIFY2(parser.parse(QStringList{"prog"} + arguments), qPrintable(parser.errorText()));
        PortOptions options;
        QString why;
        QCOMPARE(options.read(parser, &why), refused.isEmpty());
        QCOMPARE(why, refused);
        if (!refused.isEmpty())
            return;
        QString readPort;
        if (options.port()) {
            readPort = QString::number(options.port()->number);
            if (!options.port()->device.isEmpty())
                readPort += ' ' + options.port()->device;
        }
        QCOMPARE(readPort, port);
        QCOMPARE(options.settings() ? options.settings()->text() : QString(), settings);
    }

    // A pinned device answers for its number only; the rest fall back to the system's mapping.
    void pinnedDevice() {
        const auto system = [] {
            return std::make_unique<FixedPortMapping>(
                QMap<int, QString>{{1, "/dev/ttyS0"}, {2, "/dev/ttyS1"}});
        };
        const auto pinned = PortChoice{1, "/dev/pts/9"}.mapping(system());
        QCOMPARE(pinned->deviceFor(1), QString("/dev/pts/9"));
        QCOMPARE(pinned->deviceFor(2), QString("/dev/ttyS1"));
        QCOMPARE(pinned->deviceFor(3), QString());
        const auto plain = PortChoice{2, {}}.mapping(system());
        QCOMPARE(plain->deviceFor(1), QString("/dev/ttyS0"));
    }

    void missingValue() {
        QCOMPARE(PortOptions::missingValueText("port"),
                 QString("--port: expected a Comport number 1-16 or a device path, got nothing"));
        QCOMPARE(PortOptions::missingValueText("settings"),
                 QString("--settings: expected BAUD,PARITY,DATA,STOP such as 9600,N,8,1, got "
                         "nothing"));
        QCOMPARE(PortOptions::missingValueText("sync"), QString());
    }
};

QTEST_GUILESS_MAIN(TestPortChoice)
#include "tst_portchoice.moc"
