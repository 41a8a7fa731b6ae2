#include "app/panel.h"
#include "app/startoptions.h"
#include "controls/statusbar.h"
#include "doubles/fakeclock.h"
#include "port/networkport.h"
#include "support/ptypair.h"
#include "support/ser2net.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QtTest>

// The whole panel, offscreen, on an rfc2217:// line that a real ser2net serves from a
// pseudo-terminal pair: started as `--port URL --connect --reconnect` would start it.

using namespace velk;

class TestNetworkPanel : public QObject {
    Q_OBJECT

private slots:
    // The status bar names HOST:PORT; ser2net going away is a lost line, waited for and taken
    // up again, and a Send after it reaches the line once.
    void reconnectsAfterTheServerRestarts() {
        test::PtyPair pty;
        test::Ser2net server(pty.near());
        QVERIFY2(server.isReady(), qPrintable(server.error()));
        const LineName line = *LineName::parse(server.rfc2217Url(), nullptr);
        FakeClock clock;
        Panel panel(std::make_unique<NetworkPort>(line), clock);
        StartSettings start;
        start.port.lineName = line;
        start.connect = true;
        start.reconnect = true;
        panel.load(start);
        panel.start();
        StatusBar& bar = panel.window().controls().statusBar;
        const QString open = line.endpoint() + " : 9600,N,8,1  ";
        QTRY_COMPARE(bar.panelText(2), open);
        auto* send = panel.window().findChild<QAbstractButton*>("Command2");
        QVERIFY(send);
        const QByteArray title("/T\xFFTitle String ...\r");
        send->click();
        QCOMPARE(pty.readFarWhileRunning(int(title.size())), title);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("closed the connection|lost"));
        server.stop();
        QTRY_COMPARE(bar.panelText(1),
                     QString("Waiting for the device on %1 ...").arg(line.endpoint()));
        QVERIFY(server.restart());
        QTRY_COMPARE_WITH_TIMEOUT(bar.panelText(2), open, 10000);
        send->click();
        QCOMPARE(pty.readFarWhileRunning(int(title.size())), title);
        QTest::qWait(200);
        QCOMPARE(pty.drainFar(50), QByteArray());
    }
};

QTEST_MAIN(TestNetworkPanel)
#include "tst_networkpanel.moc"
