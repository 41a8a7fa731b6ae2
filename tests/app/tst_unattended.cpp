// The whole window started from a command line, no click: CONNECT and the minute sync over a
// pseudo-terminal, and the wait for a device that vanished and came back.

#include "messagecatcher.h"
#include "panelharness.h"

#include "app/devicewait.h"
#include "app/startoptions.h"
#include "clocksync/ticker.h"

using namespace velk;
using namespace velk::test;

namespace {

StartSettings startWith(const QStringList& arguments) {
    StartOptions options;
    if (options.read(QStringList{"velk-pro"} + arguments) != StartOptions::Outcome::Run)
        qFatal("refused: %s", qPrintable(options.refusal()));
    return options.settings();
}

} // namespace

class TestUnattended : public QObject {
    Q_OBJECT

private slots:
    void connectsAndSyncsAtTheNextMinute() {
        PanelHarness h;
        QVERIFY2(h.pair.isReady(), qPrintable(h.pair.error()));
        h.panel.load(startWith({"--port", "1", "--connect", "--sync"}));
        h.panel.start();
        QTRY_VERIFY(h.panel.port().isOpen());
        Ticker& ticker = h.panel.core().ticker();
        h.clock.set(2007, 3, 19, 14, 5, 59);
        ticker.poll();
        QCOMPARE(h.pair.drainFar(100), QByteArray());
        h.clock.advance(1);
        ticker.poll();
        QCOMPARE(h.readLine(20), QByteArray("/M06/H14/m03/Y07/D19"));
    }

    void waitsForTheDeviceToComeBack() {
        PanelHarness h;
        QVERIFY2(h.pair.isReady(), qPrintable(h.pair.error()));
        h.panel.load(startWith({"--connect", "--reconnect"}));
        h.panel.start();
        QTRY_VERIFY(h.panel.port().isOpen());
        MessageCatcher messages;

        h.pair.stop();
        QTRY_VERIFY(h.button("CmdMenu(0)")->isVisible());
        QCOMPARE(h.statusPanels().mid(0, 2),
                 (QStringList{"Waiting for the device on Com 1 ...", "Com :  Not Connected    "}));
        Reconnector& reconnector = h.panel.core().deviceWait().reconnector();
        QVERIFY(reconnector.isWaiting());
        QVERIFY(!reconnector.attempt());

        QVERIFY2(h.pair.restart(), qPrintable(h.pair.error()));
        QVERIFY(reconnector.attempt());
        QCOMPARE(h.statusPanels().mid(0, 2), (QStringList{"Status", "Com 1 : 9600,N,8,1  "}));
        h.click("Command2"); // Send, as after CONNECT
        QCOMPARE(h.readLine(20), QByteArray("/T\xFFTitle String ...\r"));
        QVERIFY(messages.seen().isEmpty());
    }
};

QTEST_MAIN(TestUnattended)
#include "tst_unattended.moc"
