// The command line's start and the wait for a vanished device, on the panel's core over
// in-memory controls.

#include "memorypanel.h"

#include "app/devicewait.h"
#include "clocksync/clockcommands.h"
#include "clocksync/statuspanels.h"

#include <QtTest>

using namespace velk;
using namespace velk::test;

namespace {

const QDateTime kStart(QDate(2007, 3, 19), QTime(14, 5, 30));

StartSettings startWith(const QString& line) {
    StartOptions options;
    if (options.read(QStringList{"velk-pro"} + line.split(' ', Qt::SkipEmptyParts)) !=
        StartOptions::Outcome::Run)
        qFatal("refused: %s", qPrintable(options.refusal()));
    return options.settings();
}

const QString kWaiting = QStringLiteral("Waiting for the device on Com 3 ...");

} // namespace

class TestDeviceWait : public QObject {
    Q_OBJECT

private slots:
    // Options set what the dialog would, apply it as Ok does, and CONNECT once started.
    void optionsActAsTheOperatorWould() {
        MemoryPanel p(kStart, startWith("--port 3 --settings 19200,E,7,2 --12h --sync --connect"));
        QCOMPARE(p.port.configurationLog(), (QStringList{"CommPort=3", "Settings=19200,E,7,2"}));
        QCOMPARE(p.hourMode.selected(), 0);
        QVERIFY(p.core.clockCommands().twelveHourMode());
        QVERIFY(p.sync.isChecked());
        QVERIFY(!p.port.isOpen());

        p.core.started();
        QVERIFY(p.port.isOpen());
        QCOMPARE(p.statusBar.panelText(2), QString("Com 3 : 19200,E,7,2  "));

        // The dialog shows the run's start; Restore Defaults still means the defaults.
        p.disconnectButton().click();
        p.settingButton().click();
        QStringList shown;
        for (int index = 0; index < SettingsDialogLogic::kSelectorCount; ++index)
            shown << p.settingsDialog().config(index).text();
        QCOMPARE(shown, (QStringList{"19200", "7", "Even", "2", "Comport 3"}));
        QCOMPARE(p.core.portSettings().line.text(), QString("19200,E,7,2"));
        p.settingsDialog().restoreDefaults().click();
        QCOMPARE(p.core.portSettings(), PortSettings{});
    }

    void failedConnectShowsTheUsualBox() {
        MemoryPanel p(kStart, startWith("--connect"));
        p.port.refuseOpen("Cannot open Comport 1");
        p.core.started();
        QCOMPARE(p.messages.shown().size(), size_t(1));
        QCOMPARE(p.messages.shown()[0].text, QString("Cannot open Comport 1"));
        QVERIFY(p.connectButton().isVisible());
    }

    void waitsForTheDeviceAndCarriesOn() {
        MemoryPanel p(kStart, startWith("--port 3 --connect --reconnect"));
        p.core.started();
        p.port.refuseOpen("gone");
        p.port.lose();
        Reconnector& reconnector = p.core.deviceWait().reconnector();
        QVERIFY(reconnector.isWaiting());
        QVERIFY(p.connectButton().isVisible());
        QCOMPARE(p.statusBar.panels().mid(0, 2),
                 (QStringList{kWaiting, "Com :  Not Connected    "}));

        // A notice meanwhile stands its time, then the waiting text is back.
        p.title.type(QString::fromUtf8("€"));
        QCOMPARE(p.statusBar.panelText(1), kLeftOutNotice);
        p.clock.advance(StatusPanels::kNoticeSeconds);
        p.tick();
        QCOMPARE(p.statusBar.panelText(1), kWaiting);

        QVERIFY(!reconnector.attempt());
        p.port.refuseOpen({});
        QVERIFY(reconnector.attempt());
        QVERIFY(!reconnector.isWaiting());
        QVERIFY(p.disconnectButton().isVisible());
        QCOMPARE(p.statusBar.panels().mid(0, 2), (QStringList{"Status", "Com 3 : 9600,N,8,1  "}));
    }

    // The operator's own CONNECT ends the waiting, whether the device is back or not; without
    // --reconnect nothing waits at all.
    void operatorTakesOver() {
        MemoryPanel waiting(kStart, startWith("--port 3 --reconnect"));
        waiting.connectButton().click();
        waiting.port.refuseOpen("gone");
        waiting.port.lose();
        waiting.connectButton().click();
        QVERIFY(!waiting.core.deviceWait().reconnector().isWaiting());
        QCOMPARE(waiting.statusBar.panelText(1), QString("Status"));
        QCOMPARE(waiting.messages.shown().size(), size_t(1));

        MemoryPanel plain(kStart);
        plain.connectButton().click();
        plain.port.lose();
        QVERIFY(!plain.core.deviceWait().reconnector().isWaiting());
        QCOMPARE(plain.statusBar.panelText(1), QString("Status"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceWait)
#include "tst_devicewait.moc"
