#include "connection/connectioncommands.h"
#include "connection/reconnector.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"

#include <QtTest>

using namespace velk;

namespace {

class CountingHost : public SettingsDialogHost {
public:
    void showSettingsDialog() override { ++shown; }
    int shown = 0;
};

// The window after start-up: "CONNECT" showing, the link panel saying "Not Connected".
struct Panel {
    Panel() {
        disconnectButton.setVisible(false);
        port.onLost([this] { commands.portLost(); });
        control.showPortStatus();
    }
    QString linkPanel() const { return statusBar.panelText(2); }
    bool connectShowing() const { return connectButton.isVisible(); }
    bool disconnectShowing() const { return disconnectButton.isVisible(); }

    PortSettings settings;
    MemorySerialPort port;
    MemoryStatusBar statusBar{{QStringLiteral("Status"), QStringLiteral("date")}};
    MemoryMessageBox messages;
    PortControl control{settings, port, statusBar, messages};
    MemoryButton connectButton;
    MemoryButton disconnectButton;
    CountingHost host;
    ConnectionCommands commands{port, control, connectButton, disconnectButton, messages, host};
};

const QString kNotConnected = QStringLiteral("Com :  Not Connected    ");

} // namespace

class TestConnectionCommands : public QObject {
    Q_OBJECT

private slots:
    void connectOpensWithThePortsInitialProperties() {
        Panel panel;
        panel.commands.menuClicked(ConnectionCommands::kConnect);
        QVERIFY(panel.port.isOpen());
        QVERIFY(!panel.connectShowing());
        QVERIFY(panel.disconnectShowing());
        QCOMPARE(panel.linkPanel(), QStringLiteral("Com 1 : 9600,N,8,1  "));
        QVERIFY(panel.messages.shown().empty());
    }

    void settingWhileConnectedIsRefused() {
        Panel panel;
        panel.commands.menuClicked(ConnectionCommands::kConnect);
        const QStringList panels = panel.statusBar.panels();
        panel.commands.menuClicked(ConnectionCommands::kSetting);
        QCOMPARE(panel.host.shown, 0);
        QCOMPARE(panel.messages.shown().size(), size_t(1));
        const auto& box = panel.messages.shown().front();
        QCOMPARE(box.text, QStringLiteral("            Port already open. \r\n"
                                          "Disconnect before change setting."));
        QCOMPARE(box.title, QStringLiteral("VELK-Pro"));
        QCOMPARE(box.icon, MessageBox::Icon::None);
        QCOMPARE(panel.statusBar.panels(), panels);
        QVERIFY(panel.port.isOpen());
    }

    void settingWhileDisconnectedShowsTheDialog() {
        Panel panel;
        const QStringList panels = panel.statusBar.panels();
        panel.commands.menuClicked(ConnectionCommands::kSetting);
        panel.commands.menuClicked(ConnectionCommands::kSetting);
        QCOMPARE(panel.host.shown, 2);
        QVERIFY(panel.messages.shown().empty());
        QCOMPARE(panel.statusBar.panels(), panels);
    }

    void failedConnectChangesNothingElse() {
        Panel panel;
        panel.port.refuseOpen("Cannot open /dev/ttyUSB0: no such device.");
        const QStringList panels = panel.statusBar.panels();
        panel.commands.menuClicked(ConnectionCommands::kConnect);
        QCOMPARE(panel.messages.shown().size(), size_t(1));
        const auto& box = panel.messages.shown().front();
        QCOMPARE(box.text, QStringLiteral("Cannot open /dev/ttyUSB0: no such device."));
        QCOMPARE(box.title, QStringLiteral("VELK - Pro"));
        QCOMPARE(box.icon, MessageBox::Icon::Information);
        QVERIFY(!panel.port.isOpen());
        QVERIFY(panel.connectShowing());
        QVERIFY(!panel.disconnectShowing());
        QCOMPARE(panel.statusBar.panels(), panels);
    }

    void disconnectClosesAndSwapsButtons() {
        Panel panel;
        panel.commands.menuClicked(ConnectionCommands::kConnect);
        panel.commands.menuClicked(ConnectionCommands::kDisconnect);
        QVERIFY(!panel.port.isOpen());
        QVERIFY(panel.connectShowing());
        QVERIFY(!panel.disconnectShowing());
        QCOMPARE(panel.linkPanel(), kNotConnected);
    }

    void disconnectWhileClosedRewritesTheStatusOnly() {
        Panel panel;
        panel.statusBar.setPanelText(2, "stale");
        panel.commands.menuClicked(ConnectionCommands::kDisconnect);
        QCOMPARE(panel.linkPanel(), kNotConnected);
        QCOMPARE(panel.statusBar.panelCount(), 3);
        QVERIFY(panel.connectShowing());
        QVERIFY(!panel.disconnectShowing());
        QVERIFY(panel.messages.shown().empty());
    }

    void lostPortReturnsToDisconnected() {
        Panel panel;
        panel.commands.menuClicked(ConnectionCommands::kConnect);
        panel.port.lose();
        QVERIFY(panel.connectShowing());
        QVERIFY(!panel.disconnectShowing());
        QCOMPARE(panel.linkPanel(), kNotConnected);
        QVERIFY(!panel.port.output("/M12"));
        QVERIFY(panel.messages.shown().empty());

        panel.commands.menuClicked(ConnectionCommands::kConnect);
        QVERIFY(panel.port.isOpen());
        QVERIFY(panel.disconnectShowing());
        QCOMPARE(panel.linkPanel(), QStringLiteral("Com 1 : 9600,N,8,1  "));
    }

    // The reconnector retries the lost port until it opens, then the window shows the open link
    // as after CONNECT. A port someone else opened meanwhile just ends the waiting.
    void reconnectorOpensTheLostPortAgain() {
        Panel panel;
        Reconnector reconnector(panel.port);
        int reconnected = 0;
        reconnector.startOnLoss([&] { panel.commands.portLost(); });
        reconnector.onReconnected([&] {
            ++reconnected;
            panel.commands.portReopened();
        });
        panel.commands.menuClicked(ConnectionCommands::kConnect);
        panel.port.refuseOpen("no such device");
        panel.port.lose();
        QVERIFY(reconnector.isWaiting());
        QVERIFY(!reconnector.attempt());
        QCOMPARE(panel.linkPanel(), kNotConnected);

        panel.port.refuseOpen({});
        QVERIFY(reconnector.attempt());
        QVERIFY(!reconnector.isWaiting());
        QCOMPARE(reconnected, 1);
        QVERIFY(panel.disconnectShowing());
        QCOMPARE(panel.linkPanel(), QStringLiteral("Com 1 : 9600,N,8,1  "));

        panel.port.lose();
        panel.commands.menuClicked(ConnectionCommands::kConnect);
        QVERIFY(reconnector.attempt());
        QVERIFY(!reconnector.isWaiting());
        QCOMPARE(reconnected, 1);

        // Stopped, nothing more is tried; started again, the timer makes the same tries.
        panel.port.lose();
        reconnector.stop();
        QVERIFY(!reconnector.isWaiting());
        reconnector.start();
        QCOMPARE(Reconnector::kRetryIntervalMs, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(reconnected, 2, 10000);
    }

    // A line the device server closed soon after it opened: the operator is told, and it is
    // tried once a minute only, never at the usual pace that would fight the other connection.
    void takenOverLine() {
        Panel panel;
        Reconnector reconnector(panel.port);
        reconnector.startOnLoss([&] { panel.commands.portLost(); });
        panel.commands.menuClicked(ConnectionCommands::kConnect);
        QTest::ignoreMessage(QtWarningMsg, "trying Com 1 again in a minute; another connection "
                                           "may be using it");
        panel.port.loseToTakeOver();
        QVERIFY(panel.connectShowing());
        QCOMPARE(panel.messages.shown().size(), std::size_t(1));
        QCOMPARE(panel.messages.shown().front().text,
                 QStringLiteral("Com 1 was closed by the device server soon after it opened; "
                                "another connection may be using it"));
        QVERIFY(reconnector.isWaiting());
        QTest::qWait(Reconnector::kRetryIntervalMs + 500);
        QVERIFY(!panel.port.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestConnectionCommands)
#include "tst_connectioncommands.moc"
