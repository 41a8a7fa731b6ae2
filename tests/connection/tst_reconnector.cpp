#include "connection/reconnector.h"
#include "doubles/memoryserialport.h"

#include <QtTest>

using namespace velk;

namespace {

// A port whose device vanished and stays away until told to come back.
struct LostPort {
    LostPort() {
        reconnector.onReconnected([this] { ++reconnected; });
        reconnector.startOnLoss([this] { ++lost; });
        QVERIFY(port.open().isEmpty());
        port.refuseOpen("no such device");
        port.lose();
    }
    void comeBack() { port.refuseOpen({}); }

    MemorySerialPort port;
    Reconnector reconnector{port};
    int lost = 0;
    int reconnected = 0;
};

} // namespace

class TestReconnector : public QObject {
    Q_OBJECT

private slots:
    void waitsUntilTheDeviceIsBack() {
        LostPort p;
        QCOMPARE(p.lost, 1);
        QVERIFY(p.reconnector.isWaiting());
        QVERIFY(!p.reconnector.attempt());
        QVERIFY(!p.reconnector.attempt());
        QVERIFY(p.reconnector.isWaiting());
        QCOMPARE(p.reconnected, 0);

        p.comeBack();
        QVERIFY(p.reconnector.attempt());
        QVERIFY(p.port.isOpen());
        QVERIFY(!p.reconnector.isWaiting());
        QCOMPARE(p.reconnected, 1);

        // Lost again: waiting starts afresh.
        p.port.lose();
        QCOMPARE(p.lost, 2);
        QVERIFY(p.reconnector.isWaiting());
    }

    // Stopped, or overtaken by someone else opening the port: no handler, no further tries.
    void stopsQuietly() {
        LostPort stopped;
        stopped.reconnector.stop();
        QVERIFY(!stopped.reconnector.isWaiting());
        stopped.reconnector.stop();

        LostPort overtaken;
        overtaken.comeBack();
        QVERIFY(overtaken.port.open().isEmpty());
        QVERIFY(overtaken.reconnector.attempt());
        QVERIFY(!overtaken.reconnector.isWaiting());
        QCOMPARE(overtaken.reconnected, 0);
    }

    // The timer makes the same tries on its own; only the order of events is checked.
    void timerTries() {
        LostPort p;
        QCOMPARE(Reconnector::kRetryIntervalMs, 2000);
        p.comeBack();
        QTRY_COMPARE_WITH_TIMEOUT(p.reconnected, 1, 10000);
        QVERIFY(p.port.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestReconnector)
#include "tst_reconnector.moc"
