#include "ctl/ctlport.h"
#include "ctl/deliverywatch.h"
#include "doubles/memoryserialport.h"
#include "transmit/transmitter.h"

#include <QtTest>
#include <optional>

using namespace velk;

// When the bridge may answer "ok": only once a command's own bytes are on the line, never for
// bytes withdrawn or lost with the line.
class TestDeliveryWatch : public QObject {
    Q_OBJECT

private slots:
    void answersOnceTheBytesAreOnTheLine_data() {
        QTest::addColumn<bool>("stalled");
        QTest::addColumn<QString>("then"); // what happens to the line after the write
        QTest::addColumn<QString>("failure");
        QTest::newRow("taken at once") << false << ""
                                       << "";
        QTest::newRow("stalled, then taken") << true << "resume"
                                             << "";
        QTest::newRow("lost while waiting") << true << "lose"
                                            << "was lost before the bytes";
        QTest::newRow("withdrawn with a stale group")
            << true << "withdraw"
            << "did not take the bytes; they were withdrawn";
    }
    void answersOnceTheBytesAreOnTheLine() {
        QFETCH(bool, stalled);
        QFETCH(QString, then);
        QFETCH(QString, failure);
        MemorySerialPort port;
        QCOMPARE(port.open(), QString());
        LoggedMessages messages;
        Transmitter transmitter(port, messages);
        DeliveryWatch watch(transmitter, port, "/dev/ttyUSB0");
        if (stalled)
            port.stall();
        transmitter.sendBytes("/T\x01Hall\r");
        int answers = 0;
        std::optional<QString> answer;
        watch.watch([&](const QString& why) {
            ++answers;
            answer = why;
        });
        QCOMPARE(answer.has_value(), !stalled);
        transmitter.sendBytes("/T\x02Gate\r"); // another's bytes after it change nothing
        if (then == "resume")
            port.resume();
        else if (then == "lose")
            port.lose();
        else if (then == "withdraw")
            transmitter.discardPending();
        QTRY_VERIFY(answer.has_value());
        QVERIFY2(failure.isEmpty() ? answer->isEmpty() : answer->contains(failure),
                 qPrintable(*answer));
        QTest::qWait(20);
        QCOMPARE(answers, 1);
    }
};

QTEST_GUILESS_MAIN(TestDeliveryWatch)
#include "tst_deliverywatch.moc"
