#include "app/memorypanel.h"
#include "port/lineport.h"
#include "port/networkport.h"
#include "support/ptypair.h"
#include "support/ser2net.h"

#include <QtTest>

// The panel's core with the real network port behind the line port: the operator moves it from
// Comport 1 to a ser2net's rfc2217:// line through the settings dialog, and Send reaches the far
// end of the pseudo-terminal ser2net serves.

using namespace velk;

class TestNetworkDialog : public QObject {
    Q_OBJECT

private slots:
    void sendReachesTheLineChosenInTheDialog() {
        test::PtyPair pty;
        test::Ser2net server(pty.near());
        QVERIFY2(server.isReady(), qPrintable(server.error()));
        // Comport 1 stays a recording port: no device of this machine is ever opened.
        std::unique_ptr<LinePort> port = LinePort::create(
            LineName::comport(1),
            [](const LineName& name, QString*) -> std::unique_ptr<Line> {
                if (name.isNetwork())
                    return std::make_unique<NetworkPort>(name);
                return std::make_unique<MemorySerialPort>();
            },
            nullptr);
        test::MemoryPanel panel(QDateTime(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC), {},
                                port.get());

        panel.settingButton().click();
        test::MemorySettingsDialog& dialog = panel.settingsDialog();
        dialog.prompt().answer = server.rfc2217Url();
        dialog.config(SettingsDialogLogic::kPort).pick(SettingsDialogLogic::kNetworkEntry);
        dialog.ok().click();
        QVERIFY(panel.messages.shown().empty());

        const QString endpoint = LineName::parse(server.rfc2217Url(), nullptr)->endpoint();
        panel.connectButton().click();
        QCOMPARE(panel.statusBar.panelText(2), QString("Connecting to %1 ...").arg(endpoint));
        // Pressed again while the connect is under way: nothing to say.
        panel.connectButton().click();
        panel.settingButton().click();
        QTRY_COMPARE(panel.statusBar.panelText(2), endpoint + " : 9600,N,8,1  ");
        QVERIFY(panel.messages.shown().empty());
        QVERIFY(!panel.connectButton().isVisible());

        const QByteArray title("/T\xFFTitle String ...\r");
        panel.send.click();
        QCOMPARE(pty.readFarWhileRunning(int(title.size())), title);
        QVERIFY(panel.port.written().isEmpty());
    }
};

QTEST_MAIN(TestNetworkDialog)
#include "tst_networkdialog.moc"
