#include "port/linepacer.h"
#include "port/networkport.h"
#include "support/fakedeviceserver.h"
#include "support/ptypair.h"
#include "support/ser2net.h"

#include <QtTest>

// The network line against a device server in the test, on 127.0.0.1: what counts as taken,
// what can still be withdrawn, and what the server's answers and floods do to it.

using namespace velk;
using velk::test::FakeDeviceServer;

namespace {

constexpr quint8 kWont = 252;

// What open() reported, once the port answered; "no answer" when it did not within 8 s.
QString openAnswer(NetworkPort& port) {
    QString failure = QStringLiteral("no answer");
    bool answered = false;
    port.open([&](const QString& why) {
        failure = why;
        answered = true;
    });
    if (!QTest::qWaitFor([&] { return answered; }, 8000))
        return QStringLiteral("no answer");
    return failure;
}

QByteArray quint32Bytes(quint32 value) {
    QByteArray bytes(4, '\0');
    for (int at = 3; at >= 0; --at, value >>= 8)
        bytes[at] = char(value & 0xff);
    return bytes;
}

} // namespace

class TestNetworkPort : public QObject {
    Q_OBJECT

private slots:
    // Pieces go at the line's speed with at most half a second of line time on their way; a
    // confirmed line waits for an answered mark first, and after a quiet second probes again.
    void pacer_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("taken");
        // 1 ms a byte: a window of 500 bytes, pieces of 62. Steps: "t@ms", "a" (answer).
        QTest::newRow("raw: a window, then the speed")
            << false << "t@0 t@0 t@0 t@0 t@0 t@0 t@0 t@0 t@0 t@100 t@100"
            << "62 62 62 62 62 62 62 62 4 62 38";
        QTest::newRow("confirmed: a probe before the first byte") << true << "t@0 a t@5 t@5"
                                                                  << "0 62 62";
        QTest::newRow("confirmed: half a second unconfirmed at most")
            << true << "a t@0 t@0 t@0 t@0 t@0 t@0 t@0 t@0 t@400 a t@400"
            << "62 62 62 62 62 62 62 62 4 62";
        QTest::newRow("confirmed: nothing once the last answer is over a second old")
            << true << "a t@0 a t@1500"
            << "62 0";
    }
    void pacer() {
        QFETCH(bool, confirmed);
        QFETCH(QString, steps);
        LinePacer pacer(1.0, confirmed);
        QVERIFY(pacer.queue(QByteArray(600, 'x')));
        if (confirmed && pacer.needsProbe(0))
            pacer.markSent(0);
        QStringList taken;
        for (const QString& step : steps.split(' ')) {
            if (step == "a") {
                pacer.markAnswered();
                continue;
            }
            const qint64 now = step.mid(2).toLongLong();
            const qint64 size = pacer.take(now).size();
            if (confirmed && size > 0)
                pacer.markSent(now);
            taken << QString::number(size);
        }
        QTEST(taken.join(' '), "taken");
        qint64 handed = 0;
        for (const QString& size : taken)
            handed += size.toLongLong();
        QCOMPARE(pacer.withdraw(), 600 - handed);
        QCOMPARE(pacer.queued(), 0);
    }

    // The server confirms the speed but keeps another setting: the line does not open, and
    // the refusal names what the server keeps.
    void answerChecks_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("kept");
        QTest::newRow("speed") << 1 << quint32Bytes(19200) << "it keeps 19200,N,8,1.";
        QTest::newRow("data size") << 2 << QByteArray("\x07", 1) << "it keeps 9600,N,7,1.";
        QTest::newRow("parity") << 3 << QByteArray("\x02", 1) << "it keeps 9600,O,8,1.";
        QTest::newRow("stop size") << 4 << QByteArray("\x02", 1) << "it keeps 9600,N,8,2.";
        QTest::newRow("stop size 0")
            << 4 << QByteArray("\x00", 1) << "it keeps 9600,N,8 and does not name its stop bits.";
        QTest::newRow("speed 0") << 1 << quint32Bytes(0)
                                 << "it keeps N,8,1 and does not name its speed.";
    }
    void answerChecks() {
        QFETCH(int, command);
        QFETCH(QByteArray, value);
        FakeDeviceServer server;
        server.keepSetting(quint8(command), value);
        NetworkPort port(*LineName::parse(server.url(), nullptr));
        const QString failure = openAnswer(port);
        QVERIFY2(failure.startsWith(QStringLiteral("127.0.0.1:%1 did not accept the settings "
                                                   "9600,N,8,1; ")
                                        .arg(server.port())),
                 qPrintable(failure));
        QTEST(failure.section("; ", 1), "kept");
        QVERIFY(!port.isOpen());
    }

    // A server that stops reading: the displays' bytes wait in the port's own queue, where they
    // can be withdrawn; only what had gone on its way arrives once the server reads again. On
    // rfc2217:// that is at most half a second of line time; tcp:// has only the speed to go by.
    void stalledServer_data() {
        QTest::addColumn<bool>("telnet");
        QTest::addColumn<qint64>("mostHanded");
        QTest::newRow("rfc2217") << true << qint64(480);
        QTest::newRow("tcp") << false << qint64(480 + 1600);
    }
    void stalledServer() {
        QFETCH(bool, telnet);
        QFETCH(qint64, mostHanded);
        FakeDeviceServer server(telnet);
        NetworkPort port(*LineName::parse(server.url(), nullptr));
        QCOMPARE(openAnswer(port), QString());
        QVERIFY(port.output(QByteArray(600, 'a')));
        QTRY_COMPARE(server.data().size(), 600);
        server.stall();
        QVERIFY(port.output(QByteArray(3000, 'b')));
        QTest::qWait(1500);
        QVERIFY(port.canWithdraw());
        if (telnet) // nothing past the stall is confirmed
            QCOMPARE(port.pendingBytes(), 3000);
        const qint64 withdrawn = port.discardPending();
        QVERIFY2(3000 - withdrawn <= mostHanded, qPrintable(QString::number(withdrawn)));
        server.resume();
        QTRY_COMPARE(server.data().size(), 600 + 3000 - withdrawn);
        QTRY_COMPARE(port.pendingBytes(), 0);
    }

    // 200 KB of the same option request while the server reads nothing: one refusal, none of it
    // counted as the displays' bytes, and the line still works.
    void optionFlood() {
        FakeDeviceServer server;
        NetworkPort port(*LineName::parse(server.url(), nullptr));
        QCOMPARE(openAnswer(port), QString());
        server.stall();
        server.floodRequests(200'000);
        QTest::qWait(500);
        QCOMPARE(port.pendingBytes(), 0);
        server.resume();
        QVERIFY(port.output("after"));
        QTRY_COMPARE(server.data(), QByteArray("after"));
        QCOMPARE(server.refusals(kWont, 99), 1);
    }

    // Closing waits until the server has taken every byte; one that read 3 of 12 and closed
    // leaves the rest unsent.
    void closeCountsWhatTheServerTook_data() {
        QTest::addColumn<int>("serverReads");
        QTest::addColumn<bool>("allTaken");
        QTest::newRow("all taken") << -1 << true;
        QTest::newRow("3 of 12, then closed") << 3 << false;
    }
    void closeCountsWhatTheServerTook() {
        QFETCH(int, serverReads);
        QFETCH(bool, allTaken);
        FakeDeviceServer server;
        NetworkPort port(*LineName::parse(server.url(), nullptr));
        QCOMPARE(openAnswer(port), QString());
        server.closeAfterData(serverReads);
        QVERIFY(port.output("twelve bytes"));
        qint64 unsent = -1;
        port.close([&unsent](qint64 left) { unsent = left; });
        QTRY_VERIFY(unsent >= 0);
        QCOMPARE(unsent == 0, allTaken);
    }

    // One holder per network line on this computer, named in the busy message; a second
    // connection the server refuses ("Port already in use") gets the same message.
    void oneHolderPerLine_data() {
        QTest::addColumn<bool>("realServer");
        QTest::newRow("another program here") << false;
        QTest::newRow("ser2net with max-connections: 1") << true;
    }
    void oneHolderPerLine() {
        QFETCH(bool, realServer);
        test::PtyPair pty;
        test::Ser2net ser2net(pty.near(), test::Ser2net::Sharing::OneConnection);
        FakeDeviceServer fake;
        QVERIFY2(ser2net.isReady(), qPrintable(ser2net.error()));
        const QString url = realServer ? ser2net.rfc2217Url() : fake.url();
        const LineName name = *LineName::parse(url, nullptr);
        NetworkPort first(name);
        QTcpSocket elsewhere; // another computer's client, as the server sees it
        if (realServer) {
            elsewhere.connectToHost(QHostAddress::LocalHost, ser2net.rfc2217Port());
            QVERIFY(elsewhere.waitForConnected(5000));
            QTest::qWait(200);
        } else {
            QCOMPARE(openAnswer(first), QString());
        }
        NetworkPort second(name);
        QCOMPARE(openAnswer(second),
                 QStringLiteral("Cannot open %1: the port is busy, another program is using it.\n"
                                "Close that program, or choose another port under SETTING, then "
                                "press CONNECT again.")
                     .arg(name.endpoint()));
        QVERIFY(!second.isOpen());
    }

    // A server that closes the line soon after it opened, as ser2net does when another client
    // takes the line over: a loss that says so.
    void takeOver() {
        FakeDeviceServer server;
        server.closeAfterOpen(300);
        NetworkPort port(*LineName::parse(server.url(), nullptr));
        int lost = 0;
        port.onLost([&lost] { ++lost; });
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("127.0.0.1:%1 was closed by the device "
                                                       "server soon after it opened; another "
                                                       "connection may be using it")
                                            .arg(server.port())));
        QCOMPARE(openAnswer(port), QString());
        QTRY_COMPARE(lost, 1);
        QVERIFY(port.wasTakenOver());
        // Opened again and kept, the line's next loss is an ordinary one.
        server.closeAfterOpen(-1);
        QCOMPARE(openAnswer(port), QString());
        QVERIFY(!port.wasTakenOver());
    }
};

QTEST_GUILESS_MAIN(TestNetworkPort)
#include "tst_networkport.moc"
