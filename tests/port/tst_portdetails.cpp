#include "controls/linesettings.h"
#include "doubles/fixedportmapping.h"
#include "port/devicelock.h"
#include "port/flushwatch.h"
#include "port/portdescriptions.h"
#include "port/portloss.h"
#include "port/portoptions.h"
#include "port/systemportmapping.h"

#include <QtTest>

using namespace velk;

class TestPortDetails : public QObject {
    Q_OBJECT

private slots:
    // The one reading of "BAUD,P,D,S"; a refusal names the part that is wrong.
    void lineSettings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reported"); // or what the refusal quotes
        QTest::addColumn<double>("bits");
        QTest::newRow("defaults") << "9600,N,8,1"
                                  << "9600,N,8,1" << 10.0;
        QTest::newRow("even, 7, 2") << "19200,E,7,2"
                                    << "19200,E,7,2" << 11.0;
        QTest::newRow("lower-case parity") << "1200,o,5,1"
                                           << "1200,O,5,1" << 8.0;
        QTest::newRow("a rate the dialog lacks") << "9601,N,8,1"
                                                 << "9601,N,8,1" << 10.0;
        QTest::newRow("blanks around parts") << "9600, N,8, 1"
                                             << "9600,N,8,1" << 10.0;
        QTest::newRow("empty") << ""
                               << "\"\"" << 0.0;
        QTest::newRow("three parts") << "9600,N,8"
                                     << "\"9600,N,8\"" << 0.0;
        QTest::newRow("five parts") << "9600,N,8,1,"
                                    << "\"9600,N,8,1,\"" << 0.0;
        QTest::newRow("baud not a number") << "fast,N,8,1"
                                           << "baud rate \"fast\"" << 0.0;
        QTest::newRow("baud 0") << "0,N,8,1"
                                << "baud rate \"0\"" << 0.0;
        QTest::newRow("two letters") << "9600,NO,8,1"
                                     << "parity \"NO\"" << 0.0;
        QTest::newRow("mark") << "9600,M,8,1"
                              << "parity \"M\"" << 0.0;
        QTest::newRow("four data bits") << "9600,N,4,1"
                                        << "data bits \"4\"" << 0.0;
        QTest::newRow("one and a half") << "9600,N,8,1.5"
                                        << "stop bits \"1.5\"" << 0.0;
    }
    void lineSettings() {
        QFETCH(QString, text);
        QFETCH(QString, reported);
        QFETCH(double, bits);
        QString why;
        const auto parsed = LineSettings::parse(text, &why);
        QCOMPARE(parsed.has_value(), bits > 0);
        if (parsed) {
            QCOMPARE(parsed->text(), reported);
            QCOMPARE(parsed->bitsPerCharacter(), bits);
            QVERIFY(why.isEmpty());
        } else {
            QVERIFY2(why.contains(reported), qPrintable(why));
        }
    }

    // Settings no command line offers still read out and time right.
    void typedOnlySettings() {
        const LineSettings mark{110, QSerialPort::MarkParity, QSerialPort::Data5,
                                QSerialPort::OneAndHalfStop};
        QCOMPARE(mark.text(), QStringLiteral("110,M,5,1.5"));
        QCOMPARE(mark.bitsPerCharacter(), 8.5);
        const LineSettings space{115200, QSerialPort::SpaceParity, QSerialPort::Data6,
                                 QSerialPort::OneStop};
        QCOMPARE(space.text(), QStringLiteral("115200,S,6,1"));
        QCOMPARE(space.bitsPerCharacter(), 9.0);
    }

    void systemMapping_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("device");
        const QStringList adapters{"/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyACM0"};
        QTest::newRow("single adapter is port 1")
            << QStringList{"/dev/ttyUSB0"} << 1 << "/dev/ttyUSB0";
        QTest::newRow("ordered by path") << adapters << 1 << "/dev/ttyACM0";
        QTest::newRow("numbers in order") << adapters << 2 << "/dev/ttyUSB2";
        QTest::newRow("last reported") << adapters << 3 << "/dev/ttyUSB10";
        QTest::newRow("beyond the reported") << adapters << 4 << "/dev/ttyS3";
        QTest::newRow("none reported") << QStringList{} << 16 << "/dev/ttyS15";
        QTest::newRow("no port 0") << adapters << 0 << "";
    }
    void systemMapping() {
        QFETCH(QStringList, present);
        QFETCH(int, number);
        QFETCH(QString, device);
#ifdef Q_OS_WIN
        QSKIP("Comport n is COMn on Windows");
#endif
        const SystemPortMapping mapping([present] { return present; });
        QCOMPARE(mapping.deviceFor(number), device);
    }

    void openFailureDescriptions_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<bool>("commandLine");
        QTest::addColumn<QStringList>("mentions");
        QTest::newRow("busy") << int(OpenFailure::Busy) << false
                              << QStringList{"busy", "another program", "SETTING", "CONNECT"};
        QTest::newRow("permission")
            << int(OpenFailure::PermissionDenied) << false
            << QStringList{"permission denied", "sudo usermod -aG dialout $USER", "log in again"};
        QTest::newRow("missing") << int(OpenFailure::NoSuchDevice) << false
                                 << QStringList{"no such device", "cable", "/dev/ttyUSB1"};
        QTest::newRow("not responding")
            << int(OpenFailure::NotResponding) << false
            << QStringList{"input/output error", "cable", "SETTING", "/dev/ttyUSB1"};
        QTest::newRow("other") << int(OpenFailure::Other) << false
                               << QStringList{"Input/output error"};
        // A command line has no SETTING or CONNECT to press.
        QTest::newRow("busy, command line")
            << int(OpenFailure::Busy) << true << QStringList{"busy", "another program", "--port"};
        QTest::newRow("missing, command line") << int(OpenFailure::NoSuchDevice) << true
                                               << QStringList{"no such device", "cable", "--port"};
        QTest::newRow("not responding, command line")
            << int(OpenFailure::NotResponding) << true
            << QStringList{"input/output error", "--port", "/dev/ttyUSB1"};
    }
    void openFailureDescriptions() {
        QFETCH(int, failure);
        QFETCH(bool, commandLine);
        QFETCH(QStringList, mentions);
        const QString text = openFailureDescription(
            OpenFailure(failure), "/dev/ttyUSB0", "Input/output error", {"/dev/ttyUSB1"},
            commandLine ? PortChooser::CommandLine : PortChooser::Window);
        QVERIFY2(text.startsWith("Cannot open /dev/ttyUSB0: "), qPrintable(text));
        for (const QString& mention : mentions)
            QVERIFY2(text.contains(mention), qPrintable(text));
        QVERIFY2(!text.contains("as root"), qPrintable(text));
        if (commandLine)
            QVERIFY2(!text.contains("SETTING") && !text.contains("CONNECT"), qPrintable(text));
    }

    // The system's own detail keeps its one full stop.
    void otherFailureEndsInOneFullStop_data() {
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("ending");
        QTest::newRow("without") << "Input/output error"
                                 << ": Input/output error.";
        QTest::newRow("with") << "Invalid function."
                              << ": Invalid function.";
    }
    void otherFailureEndsInOneFullStop() {
        QFETCH(QString, detail);
        QFETCH(QString, ending);
        const QString text = openFailureDescription(OpenFailure::Other, "COM1", detail, {});
        QVERIFY2(text.endsWith(ending), qPrintable(text));
    }

    // Ports are listed as users name them, without Windows' device namespace.
    void shownPortNames_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Windows") << "\\\\.\\COM1"
                                 << "COM1";
        QTest::newRow("Windows, two digits") << "\\\\.\\COM12"
                                             << "COM12";
        QTest::newRow("Linux path") << "/dev/ttyUSB0"
                                    << "/dev/ttyUSB0";
        QTest::newRow("a pipe name stays whole") << "\\\\.\\pipe\\x"
                                                 << "pipe\\x";
    }
    void shownPortNames() {
        QFETCH(QString, location);
        QFETCH(QString, shown);
        QCOMPARE(SystemPortMapping::shownName(location), shown);
    }

    // What an error of an open port says about its device, on this system. Windows reports a
    // vanished device with the system's text for one of several codes, in its own language.
    void portErrorVerdict_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("verdict");
        using V = portloss::Verdict;
        const auto row = [](const char* name, QSerialPort::SerialPortError kind,
                            const QString& text, V verdict) {
            QTest::newRow(name) << int(kind) << text << int(verdict);
        };
        row("resource", QSerialPort::ResourceError, "", V::Lost);
        row("permission", QSerialPort::PermissionError, "", V::Alive);
        row("timeout", QSerialPort::TimeoutError, "", V::Alive);
        row("no error", QSerialPort::NoError, "", V::Alive);
#ifdef Q_OS_WIN
        const auto said = [](int code) { return qt_error_string(code); };
        row("write: not ready", QSerialPort::WriteError, said(21), V::Lost);
        row("write: device not connected", QSerialPort::WriteError, said(1167), V::Lost);
        row("write: command not recognized", QSerialPort::WriteError, said(22), V::Lost);
        row("write: general failure", QSerialPort::WriteError, said(31), V::Lost);
        row("read: device removed", QSerialPort::ReadError, said(1617), V::Lost);
        row("unknown: not ready", QSerialPort::UnknownError, said(21), V::Lost);
        row("not ready, other case and dots", QSerialPort::WriteError, said(21).toUpper() + "..",
            V::Lost);
        row("write: invalid function", QSerialPort::WriteError, said(1), V::Alive);
        row("write: access denied", QSerialPort::WriteError, said(5), V::Alive);
        row("write: no text", QSerialPort::WriteError, "", V::Alive);
        row("permission: not ready", QSerialPort::PermissionError, said(21), V::Alive);
#else
        row("write: the line decides", QSerialPort::WriteError, "Input/output error",
            V::AskTheLine);
        row("read: the line decides", QSerialPort::ReadError, "Input/output error", V::AskTheLine);
        row("unknown", QSerialPort::UnknownError, "Input/output error", V::Alive);
#endif
    }
    void portErrorVerdict() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(int, verdict);
        QCOMPARE(int(portloss::classify(QSerialPort::SerialPortError(kind), text)), verdict);
    }

    // Closing waits while the line takes bytes: not past the quiet time without progress, and not
    // past the bytes' own line time plus the quiet time. The quiet time is a quarter second, or
    // 128 bytes' line time on a slow line, where an adapter's 64-byte queue steps are slower.
    void flushWatch_data() {
        QTest::addColumn<int>("baud");            // 8,N,1
        QTest::addColumn<QList<QPoint>>("steps"); // elapsed ms, bytes still pending
        QTest::addColumn<int>("stopsAt");         // the first step that ends the wait
        QTest::newRow("healthy line drains")
            << 9600 << QList<QPoint>{{20, 60}, {40, 20}, {60, 0}} << 2;
        QTest::newRow("38400: stalled after 250 ms")
            << 38400 << QList<QPoint>{{20, 100}, {249, 100}, {250, 100}} << 2;
        QTest::newRow("quiet counts from the last progress")
            << 9600 << QList<QPoint>{{100, 90}, {349, 90}, {350, 90}} << 2;
        QTest::newRow("a trickle stops at line time + 250 ms")
            << 9600 << QList<QPoint>{{200, 90}, {354, 80}, {355, 70}} << 2;
        QTest::newRow("1200: stalled after 128 bytes' time")
            << 1200 << QList<QPoint>{{20, 100}, {1066, 100}, {1067, 100}} << 2;
        QTest::newRow("1200: a 64-byte step after half a second is progress")
            << 1200 << QList<QPoint>{{250, 100}, {533, 100}, {534, 36}, {1600, 36}, {1601, 36}}
            << 4;
        QTest::newRow("1200: a trickle stops at line time + 128 bytes' time")
            << 1200 << QList<QPoint>{{1000, 90}, {1900, 80}, {1901, 70}} << 2;
    }
    void flushWatch() {
        QFETCH(int, baud);
        QFETCH(QList<QPoint>, steps);
        QFETCH(int, stopsAt);
        LineSettings line;
        line.baudRate = baud;
        FlushWatch watch(100, line.bitsPerCharacter() * 1000.0 / line.baudRate);
        for (int step = 0; step < steps.size(); ++step)
            QCOMPARE(watch.keepWaiting(steps[step].x(), steps[step].y()), step != stopsAt);
    }

    // What --port takes, with COMn names (Windows) or without: read back as "N", "N=DEVICE" or
    // the URL, or the one-line refusal. How --port and --settings are read from a whole command
    // line is checked with the panel's options.
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("comNames");
        QTest::addColumn<QString>("result");
        const QString refused = "--port: expected a Comport number 1-16, a device path, "
                                "rfc2217://HOST:PORT, tcp://HOST:PORT or "
                                "mqtt(s)://HOST[:PORT]/BASE, got ";
        const QString cwd = QDir::currentPath();
        // "/" here, the current drive's root ("C:/") on Windows.
        const QString absolute = QDir::rootPath() + "dev/ttyUSB0";
        QTest::newRow("16") << " 16 " << false << "16";
        QTest::newRow("path") << absolute << false << "1=" + absolute;
        QTest::newRow("relative path") << "p14/near" << false << "1=" + cwd + "/p14/near";
        QTest::newRow("bare name") << "ttyUSB0" << false << "1=ttyUSB0";
        QTest::newRow("COM7 elsewhere") << "COM7" << false << "1=COM7";
        QTest::newRow("com7") << "com7" << true << "7";
        QTest::newRow("COM17") << "COM17" << true << "1=COM17";
        QTest::newRow("0") << "0" << false << "--port: Comport 0 is out of range, expected 1-16";
        QTest::newRow("17") << "17" << true << "--port: Comport 17 is out of range, expected 1-16";
        QTest::newRow("20 digits") << "99999999999999999999" << false
                                   << "--port: Comport 99999999999999999999 is out of range, "
                                      "expected 1-16";
        QTest::newRow("blank") << "  " << false << refused + "\"  \"";
        QTest::newRow("an option") << "--sync" << false << refused + "\"--sync\"";
        QTest::newRow("rfc2217") << "rfc2217://dserver.lan:7001" << false
                                 << "rfc2217://dserver.lan:7001";
        QTest::newRow("tcp, upper case") << "TCP://10.0.0.9:4001" << false << "tcp://10.0.0.9:4001";
        QTest::newRow("IPv6") << "rfc2217://[fe80::1]:2217" << false << "rfc2217://[fe80::1]:2217";
        QTest::newRow("no port") << "tcp://10.0.0.9" << false
                                 << "--port: no port in \"tcp://10.0.0.9\"";
        QTest::newRow("empty port")
            << "tcp://host:" << false << "--port: no port in \"tcp://host:\"";
        QTest::newRow("port 0") << "tcp://host:0" << false
                                << "--port: port \"0\" in \"tcp://host:0\" is not a TCP port "
                                   "1-65535";
        QTest::newRow("port 65535") << "tcp://host:65535" << false << "tcp://host:65535";
        QTest::newRow("port 1") << "rfc2217://host:1" << false << "rfc2217://host:1";
        QTest::newRow("port 65536") << "tcp://host:65536" << false
                                    << "--port: port \"65536\" in \"tcp://host:65536\" is not a "
                                       "TCP port 1-65535";
        QTest::newRow("no host") << "rfc2217://:7001" << false
                                 << "--port: no host in \"rfc2217://:7001\"";
        QTest::newRow("unknown scheme")
            << "telnet://host:23" << false
            << "--port: unknown scheme \"telnet://\" in "
               "\"telnet://host:23\" (use rfc2217://, tcp://, mqtt:// or "
               "mqtts://)";
        QTest::newRow("IPv6 without brackets") << "tcp://fe80::1:23" << false
                                               << "--port: \"fe80::1\" is not a host name or "
                                                  "address in \"tcp://fe80::1:23\" (an IPv6 "
                                                  "address goes in brackets)";
        QTest::newRow("a path after the port") << "tcp://host:23/x" << false
                                               << "--port: port \"23/x\" in \"tcp://host:23/x\" "
                                                  "is not a TCP port 1-65535";
        // Bus lines: the broker's port defaults by scheme; BASE is a topic, never a pattern.
        const QString tail = " in \"mqtt://h/";
        const QList<QStringList> bus = {
            {"mqtt, default port", "mqtt://broker.lan/velk/hall",
             "mqtt://broker.lan:1883/velk/hall"},
            {"mqtts, default port", "MQTTS://broker/velk", "mqtts://broker:8883/velk"},
            {"port and IPv6", "mqtt://[::1]:1999/a/b/c", "mqtt://[::1]:1999/a/b/c"},
            {"no base", "mqtt://h",
             "--port: no topic base in \"mqtt://h\" (expected "
             "mqtt://HOST[:PORT]/BASE)"},
            {"empty base", "mqtt://h/", "--port: no topic base in \"mqtt://h/\""},
            {"empty level", "mqtt://h/a//b",
             "--port: an empty level in the topic base" + tail + "a//b\""},
            {"trailing slash", "mqtt://h/a/",
             "--port: an empty level in the topic base" + tail + "a/\""},
            {"wildcard +", "mqtt://h/a/+",
             "--port: a wildcard \"+\" in the topic base" + tail + "a/+\""},
            {"wildcard #", "mqtt://h/#",
             "--port: a wildcard \"#\" in the topic base" + tail + "#\""},
            {"dollar", "mqtt://h/$SYS",
             "--port: the topic base starts with \"$\", which the "
             "broker keeps for itself" +
                 tail + "$SYS\""},
            {"control", QString("mqtt://h/a") + QChar(0x85) + "b",
             "--port: a control character in the topic base" + tail + "a" + QChar(0x85) + "b\""},
            {"no host", "mqtt://:1883/a", "--port: no host in \"mqtt://:1883/a\""},
            {"port 0", "mqtts://h:0/a",
             "--port: port \"0\" in \"mqtts://h:0/a\" is not a TCP "
             "port 1-65535"},
            {"too long", "mqtt://h/" + QString(65500, 'a'),
             "--port: the topic base is longer than 65471 bytes" + tail + QString(65500, 'a') +
                 "\""},
        };
        for (const QStringList& row : bus)
            QTest::newRow(qPrintable(row[0])) << row[1] << false << row[2];
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, comNames);
        QFETCH(QString, result);
        QString why;
        const std::optional<LineName> name = LineName::parse(text, &why, "--port", comNames);
        QString read = why;
        if (name && (name->isNetwork() || name->isBus()))
            read = name->text();
        else if (name)
            read = QString::number(name->number) +
                   (name->kind == LineName::Kind::Device ? '=' + name->device : QString());
        QCOMPARE(read, result);
        // What a name reads back as is read again as the same name.
        if (name)
            QCOMPARE(LineName::parse(name->text(), nullptr, "--port", comNames), name);
    }

    // A pinned device answers for its number only; the rest fall back to the system's mapping.
    // One holder per network line on this computer, whatever case its host is written in; the
    // hold ends with its holder.
    void networkLineHold() {
        const QString address =
            QStringLiteral("Velk-Test-%1.example:65535").arg(QCoreApplication::applicationPid());
        DeviceLock first;
        DeviceLock second;
        QCOMPARE(first.acquireAddress(address), DeviceLock::Outcome::Held);
        QCOMPARE(second.acquireAddress(address.toLower()), DeviceLock::Outcome::Busy);
        QVERIFY(!second.isHeld());
        first.release();
        QCOMPARE(second.acquireAddress(address), DeviceLock::Outcome::Held);
    }

    void pinnedDevice() {
        const auto system = [] {
            return std::make_unique<FixedPortMapping>(
                QMap<int, QString>{{1, "/dev/ttyS0"}, {2, "/dev/ttyS1"}});
        };
        const QString device = QDir::rootPath() + "dev/pts/9";
        const auto pinned = LineName::parse(device, nullptr)->mapping(system());
        QCOMPARE(pinned->deviceFor(1), device);
        QCOMPARE(pinned->deviceFor(2), QString("/dev/ttyS1"));
        const LineName plain = LineName::comport(2);
        QCOMPARE(plain.mapping(system())->deviceFor(1), QString("/dev/ttyS0"));
    }
};

QTEST_GUILESS_MAIN(TestPortDetails)
#include "tst_portdetails.moc"
