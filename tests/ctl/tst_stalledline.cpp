#include "ctl/ctloptions.h"
#include "ctl/syncservice.h"
#include "doubles/fakeclock.h"
#include "doubles/fakeclockstate.h"
#include "port/pinnedportmapping.h"
#include "port/qtserialport.h"
#include "support/ptypair.h"
#include "wire/frames.h"

#include <QtTest>

using namespace velk;

// velk-ctl's sync on a real pseudo-terminal whose near end has its output stopped by the
// terminal itself (tcflow), as a line that takes no data: the group is withdrawn in time and
// nothing stale arrives once the output resumes.
class TestStalledLine : public QObject {
    Q_OBJECT

private slots:
    void aStalledLineGetsNoStaleGroup() {
        test::PtyPair pty;
        QVERIFY2(pty.isReady(), qPrintable(pty.error()));
        QVERIFY(pty.stallNear());
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(22, 39, 59, 5)));
        FakeClockState clockState;
        QtSerialPort port(std::make_unique<PinnedPortMapping>(pty.near(), 1, nullptr));
        SyncService sync(port, clock, clockState);
        QString failure = "none";
        sync.start(CtlOptions(), [&failure](const QString& why) { failure = why; });
        QCOMPARE(failure, QString());

        const auto tickAt = [&](int minute, int second) {
            clock.set(QDateTime(QDate(2026, 12, 7), QTime(22, minute, second, 5)));
            sync.ticker().poll();
            QTest::qWait(50); // QSerialPort hands its buffer to the terminal from the event loop
        };
        tickAt(40, 0);
        QCOMPARE(sync.transmitter().bytesHanded(), qint64(20)); // one clock group
        QVERIFY(port.pendingBytes() >= 20);
        QTest::ignoreMessage(QtWarningMsg, "the line stopped taking data");
        QTest::ignoreMessage(QtWarningMsg,
                             "the line is not taking data; the 22:40 group was dropped");
        tickAt(40, 1);
        QCOMPARE(port.pendingBytes(), qint64(0));

        QVERIFY(pty.resumeNear());
        QCOMPARE(pty.drainFar(300), QByteArray());
        // Taking data again, the line gets the next minute's group on time.
        tickAt(41, 0);
        const QByteArray arrived = pty.readFarWhileRunning(20);
        QCOMPARE(arrived.size(), 20);
        QVERIFY(arrived.startsWith(frames::clockFrame('M', QStringLiteral("41"))));
    }
};

QTEST_GUILESS_MAIN(TestStalledLine)
#include "tst_stalledline.moc"
