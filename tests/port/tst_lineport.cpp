#include "doubles/memoryserialport.h"
#include "port/lineport.h"

#include <QtTest>

using namespace velk;

namespace {

// A LinePort over recording ports, one made per line the factory is asked for.
struct Rig {
    explicit Rig(const QString& start = QStringLiteral("1")) {
        port = LinePort::create(
            *LineName::parse(start, nullptr),
            [this](const LineName& name, QString* why) {
                if (refuseMaking) {
                    *why = QStringLiteral("no network lines");
                    return std::unique_ptr<SerialPort>();
                }
                auto made = std::make_unique<MemorySerialPort>();
                ports << made.get();
                names << name.text();
                return std::unique_ptr<SerialPort>(std::move(made));
            },
            nullptr);
        port->onLost([this] { ++lost; });
    }

    bool refuseMaking = false;
    QList<MemorySerialPort*> ports; // owned by the line port while its line is chosen
    QStringList names;
    int lost = 0;
    std::unique_ptr<LinePort> port;
};

const QString kUrl = QStringLiteral("rfc2217://127.0.0.1:4001");

} // namespace

class TestLinePort : public QObject {
    Q_OBJECT

private slots:
    // The bytes go to the port of the line chosen last, which keeps the line settings.
    void switchesBetweenSerialAndNetwork() {
        Rig rig;
        const LineSettings odd{19200, QSerialPort::OddParity, QSerialPort::Data7,
                               QSerialPort::TwoStop};
        QVERIFY(rig.port->setPortNumber(4, nullptr));
        QVERIFY(rig.port->setSettings(odd, nullptr));
        QVERIFY(rig.port->setNetworkLine(kUrl, nullptr));
        QCOMPARE(rig.names, (QStringList{"1", kUrl}));
        QCOMPARE(rig.port->networkLine(), kUrl);
        QCOMPARE(rig.port->settings(), odd);
        rig.port->open([](const QString&) {});
        QVERIFY(rig.port->output("net"));
        QCOMPARE(rig.ports[1]->written(), QByteArray("net"));
        rig.port->close();

        // Back on the same serial port, with its number; no port is made again.
        QVERIFY(rig.port->setNetworkLine(QString(), nullptr));
        QVERIFY(rig.port->setNetworkLine(QString(), nullptr));
        QCOMPARE(rig.names.size(), 2);
        QCOMPARE(rig.port->portNumber(), 4);
        QCOMPARE(rig.port->settings(), odd);
        rig.port->open([](const QString&) {});
        QVERIFY(rig.port->output("com"));
        QCOMPARE(rig.ports[0]->written(), QByteArray("com")); // the network port is gone
    }

    void refusals_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("refuseMaking");
        QTest::addColumn<QString>("why");
        QTest::newRow("while open") << kUrl << true << false << "Port already open.";
        QTest::newRow("no port") << "tcp://host" << false << false << "no port";
        QTest::newRow("a Comport") << "3" << false << false << "expected rfc2217://";
        QTest::newRow("cannot be made") << kUrl << false << true << "no network lines";
    }
    void refusals() {
        QFETCH(QString, url);
        QFETCH(bool, open);
        QFETCH(bool, refuseMaking);
        QFETCH(QString, why);
        Rig rig;
        if (open)
            rig.port->open([](const QString&) {});
        rig.refuseMaking = refuseMaking;
        QString refusal;
        QVERIFY(!rig.port->setNetworkLine(url, &refusal));
        QVERIFY2(refusal.contains(why), qPrintable(refusal));
        QCOMPARE(rig.port->networkLine(), QString());
        QCOMPARE(rig.names, QStringList{"1"});
        QCOMPARE(rig.port->isOpen(), open);
    }

    // A run started on a network line reports its loss and can still go to Comport n.
    void startsOnTheNetwork() {
        Rig rig(kUrl);
        QCOMPARE(rig.port->networkLine(), kUrl);
        rig.port->open([](const QString&) {});
        rig.ports[0]->lose();
        QCOMPARE(rig.lost, 1);
        QVERIFY(!rig.port->isOpen());
        QVERIFY(rig.port->setNetworkLine(QString(), nullptr));
        QCOMPARE(rig.names, (QStringList{kUrl, "1"}));
    }

    void nothingWhereTheStartLineCannotBeMade() {
        QString why;
        const auto port = LinePort::create(
            LineName::comport(1),
            [](const LineName&, QString* refusal) {
                *refusal = QStringLiteral("none");
                return std::unique_ptr<SerialPort>();
            },
            &why);
        QVERIFY(!port);
        QCOMPARE(why, QStringLiteral("none"));
    }
};

QTEST_GUILESS_MAIN(TestLinePort)
#include "tst_lineport.moc"
