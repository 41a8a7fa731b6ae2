#include "clocksync/linewatch.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"
#include "transmit/transmitter.h"

#include <QtTest>

using namespace velk;

// The line watch on a line in memory: a group the line has not started taking a second after
// its minute is dropped only where the line really gives its bytes back.
class TestLineWatch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("velk.sync.info=true"); }

    void lateGroup_data() {
        QTest::addColumn<bool>("stalled");
        QTest::addColumn<bool>("withdraws");
        QTest::addColumn<qint64>("checkAtMs");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<qint64>("pendingAfter");
        const QString dropped = "the line is not taking data; the 22:40 group was dropped";
        QTest::newRow("taken in time") << false << true << qint64(1000) << QString() << qint64(0);
        QTest::newRow("stalled, within the second")
            << true << true << qint64(999) << QString() << qint64(20);
        QTest::newRow("stalled, withdrawn") << true << true << qint64(1000) << dropped << qint64(0);
        // A line that keeps what it accepted: no drop is claimed, the bytes stay counted.
        QTest::newRow("stalled, kept by the line")
            << true << false << qint64(1000) << QString() << qint64(20);
    }
    void lateGroup() {
        QFETCH(bool, stalled);
        QFETCH(bool, withdraws);
        QFETCH(qint64, checkAtMs);
        MemorySerialPort port;
        MemoryMessageBox messages;
        Transmitter transmitter(port, messages);
        LineWatch watch(transmitter);
        port.open();
        if (stalled)
            port.stall();
        if (!withdraws)
            port.keepAccepted();
        const qint64 minuteMs = 60'000;
        const qint64 handed = transmitter.bytesHanded();
        transmitter.writeClockGroup({"22", "40", "00", "07", "12", "26"});
        watch.groupWritten(minuteMs, "22:40", 0, transmitter.bytesHanded() - handed);
        QTEST(watch.check(minuteMs + checkAtMs), "warning");
        QTEST(transmitter.pendingBytes(), "pendingAfter");
    }

    // A line that stops and takes data again is noticed each way; nothing is dropped while no
    // group waits.
    void stallWithoutGroup() {
        MemorySerialPort port;
        MemoryMessageBox messages;
        Transmitter transmitter(port, messages);
        LineWatch watch(transmitter);
        port.open();
        port.stall();
        transmitter.sendBytes("title bytes");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("the line stopped taking data; 11 bytes wait"));
        QCOMPARE(watch.check(1000), QString());
        QCOMPARE(watch.check(2000), QString());
        port.resume();
        QTest::ignoreMessage(QtInfoMsg, "the line takes data again");
        QCOMPARE(watch.check(3000), QString());
        QCOMPARE(port.written(), QByteArray("title bytes"));
    }
};

QTEST_GUILESS_MAIN(TestLineWatch)
#include "tst_linewatch.moc"
