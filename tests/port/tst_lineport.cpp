#include "doubles/memoryserialport.h"
#include "port/lineport.h"

#include <QtTest>

using namespace velk;

namespace {

const QString kUrl = QStringLiteral("rfc2217://127.0.0.1:4001");

// A LinePort over recording ports, one made per line asked for; `names` lists them.
std::unique_ptr<LinePort> linePort(const QString& start, QList<MemorySerialPort*>& ports,
                                   QStringList& names) {
    return LinePort::create(
        *LineName::parse(start, nullptr),
        [&](const LineName& name, QString*) {
            auto made = std::make_unique<MemorySerialPort>();
            made->setName(name, nullptr);
            ports << made.get();
            names << name.text();
            return std::unique_ptr<Line>(std::move(made));
        },
        nullptr);
}

} // namespace

class TestLinePort : public QObject {
    Q_OBJECT

private slots:
    // Bytes go to the port of the line chosen last, which keeps the line settings; the serial
    // port is kept with its number for the way back, and a network port reports its loss.
    void switchesBetweenSerialAndNetwork() {
        QList<MemorySerialPort*> ports;
        QStringList names;
        const auto port = linePort("1", ports, names);
        int lost = 0;
        port->onLost([&lost] { ++lost; });
        const LineSettings odd{19200, QSerialPort::OddParity, QSerialPort::Data7,
                               QSerialPort::TwoStop};
        const LineName network = *LineName::parse(kUrl, nullptr);
        QVERIFY(port->setName(LineName::comport(4), nullptr) && port->setSettings(odd, nullptr));
        QVERIFY(port->setName(network, nullptr));
        QCOMPARE(port->name(), network);
        QCOMPARE(port->lineLabel(), QStringLiteral("127.0.0.1:4001"));
        QCOMPARE(port->settings(), odd);
        port->open([](const QString&) {});
        QVERIFY(port->output("net"));
        QCOMPARE(ports[1]->written(), QByteArray("net"));
        QString why;
        QVERIFY(!port->setName(LineName::comport(4), &why));
        QCOMPARE(why, QStringLiteral("Port already open."));
        ports[1]->lose();
        QCOMPARE(lost, 1);

        QVERIFY(port->setName(LineName::comport(4), nullptr));
        QCOMPARE(port->name(), LineName::comport(4));
        QCOMPARE(port->settings(), odd);
        port->open([](const QString&) {});
        QVERIFY(port->output("com"));
        QCOMPARE(ports[0]->written(), QByteArray("com"));
        QCOMPARE(names, (QStringList{"1", kUrl}));
    }
};

QTEST_GUILESS_MAIN(TestLinePort)
#include "tst_lineport.moc"
