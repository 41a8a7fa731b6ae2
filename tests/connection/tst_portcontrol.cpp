#include "connection/portcontrol.h"
#include "connection/portstatustext.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"

#include <QtTest>

using namespace velk;

namespace {

PortSettings makeSettings(int port, qint32 baud, QSerialPort::Parity parity,
                          QSerialPort::DataBits data, QSerialPort::StopBits stop) {
    PortSettings settings;
    settings.lineName = LineName::comport(port);
    settings.line = LineSettings{baud, parity, data, stop};
    return settings;
}

struct Bench {
    PortSettings settings;
    MemorySerialPort port;
    MemoryStatusBar statusBar{{QStringLiteral("Status"), QStringLiteral("date")}};
    MemoryMessageBox messages;
    PortControl control{settings, port, statusBar, messages};
};

} // namespace

class TestPortControl : public QObject {
    Q_OBJECT

private slots:
    void texts_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const PortSettings port16 = makeSettings(16, 19200, QSerialPort::EvenParity,
                                                 QSerialPort::Data7, QSerialPort::TwoStop);
        QTest::newRow("default settings") << PortSettings{}.line.text() << "9600,N,8,1";
        QTest::newRow("port 16 settings") << port16.line.text() << "19200,E,7,2";
        QTest::newRow("open, port 16")
            << openPortStatusText("Com 16", port16.line) << "Com 16 : 19200,E,7,2  ";
        QTest::newRow("open, defaults")
            << openPortStatusText("Com 1", LineSettings()) << "Com 1 : 9600,N,8,1  ";
        QTest::newRow("closed") << closedPortStatusText() << "Com :  Not Connected    ";
    }
    void texts() {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void panelInsertion_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        const QString closed = closedPortStatusText();
        const QString open = QStringLiteral("Com 1 : 9600,N,8,1  ");
        QTest::newRow("closed, two panels: link inserted, date moves to 3")
            << false << QStringList{"Status", "date"} << QStringList{"Status", closed, "date"};
        QTest::newRow("closed, three panels: none inserted")
            << false << QStringList{"Status", "old", "date"}
            << QStringList{"Status", closed, "date"};
        QTest::newRow("open, two panels: never inserts")
            << true << QStringList{"Status", "date"} << QStringList{"Status", open};
        QTest::newRow("open, three panels")
            << true << QStringList{"Status", "old", "date"} << QStringList{"Status", open, "date"};
    }
    void panelInsertion() {
        QFETCH(bool, open);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        Bench bench;
        bench.statusBar = MemoryStatusBar(before);
        if (open)
            QVERIFY(bench.port.open().isEmpty());
        bench.control.showPortStatus();
        QCOMPARE(bench.statusBar.panels(), after);
        QCOMPARE(bench.control.portStatusText(), after.at(1));
    }

    void applyInOrder() {
        Bench bench;
        bench.settings = makeSettings(16, 19200, QSerialPort::EvenParity, QSerialPort::Data7,
                                      QSerialPort::TwoStop);
        bench.control.applyPortSettings();
        QCOMPARE(bench.port.configurationLog(),
                 (QStringList{"CommPort=16", "Settings=19200,E,7,2"}));
        QVERIFY(bench.messages.shown().empty());
    }

    void firstRefusalStopsTheRest_data() {
        QTest::addColumn<bool>("refuseName");
        QTest::addColumn<QStringList>("applied");
        QTest::newRow("port number refused") << true << QStringList{};
        QTest::newRow("settings refused") << false << QStringList{"CommPort=3"};
    }
    void firstRefusalStopsTheRest() {
        QFETCH(bool, refuseName);
        QFETCH(QStringList, applied);
        Bench bench;
        bench.settings = makeSettings(3, 19200, QSerialPort::OddParity, QSerialPort::Data8,
                                      QSerialPort::OneStop);
        const PortSettings before = bench.settings;
        if (refuseName)
            bench.port.refuseName("No such port");
        else
            bench.port.refuseSettings("No such port");
        bench.control.applyPortSettings();
        QCOMPARE(bench.port.configurationLog(), applied);
        QCOMPARE(bench.settings, before);
        QCOMPARE(bench.messages.shown().size(), size_t(1));
        QCOMPARE(bench.messages.shown().front().text, QStringLiteral("No such port"));
        QCOMPARE(bench.messages.shown().front().title, QStringLiteral("VELK-Pro"));
        QCOMPARE(bench.messages.shown().front().icon, MessageBox::Icon::None);
    }

    // The link panel must not claim settings the port does not hold.
    void openStatusShowsWhatThePortHolds_data() {
        QTest::addColumn<bool>("apply");
        QTest::addColumn<bool>("refuseSettings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("changed, not applied (Cancel)") << false << false << "Com 1 : 9600,N,8,1  ";
        QTest::newRow("settings refused") << true << true << "Com 3 : 9600,N,8,1  ";
        QTest::newRow("applied") << true << false << "Com 3 : 19200,O,7,2  ";
    }
    void openStatusShowsWhatThePortHolds() {
        QFETCH(bool, apply);
        QFETCH(bool, refuseSettings);
        QFETCH(QString, expected);
        Bench bench;
        bench.settings = makeSettings(3, 19200, QSerialPort::OddParity, QSerialPort::Data7,
                                      QSerialPort::TwoStop);
        if (refuseSettings)
            bench.port.refuseSettings("refused");
        if (apply)
            bench.control.applyPortSettings();
        QVERIFY(bench.port.open().isEmpty());
        bench.control.showPortStatus();
        QCOMPARE(bench.statusBar.panelText(2), expected);
    }
};

QTEST_GUILESS_MAIN(TestPortControl)
#include "tst_portcontrol.moc"
