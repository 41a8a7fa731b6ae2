#include "app/busseam.h"
#include "app/panel.h"
#include "app/startoptions.h"
#include "bus/brokerlogin.h"
#include "bus/panelbus.h"
#include "clocksync/clockstatewatch.h"
#include "clocksync/tickhandler.h"
#include "controls/statusbar.h"
#include "controls/windowcontrols.h"
#include "doubles/fakeclock.h"
#include "doubles/fakeclockstate.h"
#include "messagecatcher.h"
#include "port/lineport.h"
#include "support/mosquittobroker.h"
#include "support/ptypair.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QtTest>

// The whole panel, offscreen, on a bus line: a real `velk-ctl bridge` owns a pseudo-terminal
// pair and a mosquitto of the test's own carries the requests, as `--port mqtt://... --connect
// --reconnect --sync` would start it.

using namespace velk;
using velk::test::MosquittoBroker;

namespace {

const QString kCtlPath = QStringLiteral(VELK_CTL_PATH);
const QString kPanelPath = QStringLiteral(VELK_PRO_PATH);
const QString kBase = QStringLiteral("velk/hall");

// The operator at the login prompt: answers with `given`, or cancels; counts the questions.
struct FakeLogin : BrokerLogin {
    std::optional<Given> given;
    int asked = 0;
    std::optional<Given> ask(const QString&, const QString&) override {
        ++asked;
        return given;
    }
};

} // namespace

class TestBusPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<MosquittoBroker> m_broker;
    std::unique_ptr<test::PtyPair> m_pty;
    QProcess m_bridge;

    void startBridge() {
        m_bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_bridge.start(kCtlPath, {"--port", m_pty->near(), "bridge", "--broker", m_broker->url(),
                                  "--credentials", m_broker->credentialsFile(), "--topic", kBase,
                                  "--addresses", "1-3,all", "--no-sync"});
    }

    QString busUrl() const {
        return QString("mqtt://127.0.0.1:%1/%2").arg(m_broker->port()).arg(kBase);
    }

private slots:
    void initTestCase() {
        m_broker = std::make_unique<MosquittoBroker>();
        QVERIFY2(m_broker->isReady(), qPrintable(m_broker->error()));
        m_pty = std::make_unique<test::PtyPair>();
        QVERIFY2(m_pty->isReady(), qPrintable(m_pty->error()));
        startBridge();
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "online"));
        // What address 2 shows before the panel comes: the bridge keeps it retained.
        QVERIFY(m_broker->publish(kBase + "/2/title/set", "Lobby"));
        QVERIFY(m_broker->waitForRetained(kBase + "/2/title", "Lobby"));
        m_pty->drainFar();
    }
    void cleanupTestCase() {
        m_bridge.terminate();
        m_bridge.waitForFinished();
    }

    // One run through what the operator does: connect, the sync tick both ways, the retained
    // title on picking an address, Send as bytes on the line, a refusal in a box, and the bridge
    // going away and coming back.
    void panelOnABusLine() {
        StartOptions options;
        QCOMPARE(options.read({"velk-pro", "--port",
                               QString("mqtt://127.0.0.1:%1/%2").arg(m_broker->port()).arg(kBase),
                               "--credentials", m_broker->credentialsFile(), "--connect",
                               "--reconnect", "--sync"}),
                 StartOptions::Outcome::Run);
        const StartSettings& start = options.settings();
        FakeClock clock;
        FakeClockState ownClock;
        BusSeam bus(start.access, ownClock, nullptr, &makePanelBus);
        QString why;
        auto port = LinePort::create(
            start.port.lineName,
            [&bus](const LineName& name, QString* w) { return bus.makePort(name, w); }, &why);
        QVERIFY2(port, qPrintable(why));
        Panel panel(std::move(port), clock, &bus.clockState(), nullptr, bus.sinkFactory());
        test::MessageCatcher boxes;
        panel.load(start);
        panel.start();
        MainWindowControls& c = panel.window().controls();
        auto* send = panel.window().findChild<QAbstractButton*>("Command2");
        auto* clear = panel.window().findChild<QAbstractButton*>("Command1");
        QVERIFY(send && clear);
        const QString open = start.port.lineName.busLabel() + " : 9600,N,8,1  ";
        QTRY_COMPARE(c.statusBar.panelText(2), open);

        // --sync switches the bridge's sync on; the bridge's own change shows in the box.
        panel.core().tickHandler().tick();
        QVERIFY(m_broker->waitForRetained(kBase + "/sync", "ON"));
        // The PC clock notice is about the bridge's PC, whatever the panel's own clock says.
        for (const char* word : {"not synchronised", "synchronised"}) {
            QVERIFY(m_broker->publish(kBase + "/clock", word, true));
            QTRY_VERIFY_WITH_TIMEOUT(
                (panel.core().tickHandler().tick(),
                 (c.statusBar.panelText(1) == kClockNotSynchronisedNote) == (word[0] == 'n')),
                5000);
        }
        QVERIFY(m_broker->publish(kBase + "/sync/set", "OFF"));
        QTRY_VERIFY(!c.sync.isChecked());
        panel.core().tickHandler().tick(); // the next second sees the box as the bridge set it
        c.sync.setChecked(true);           // as the operator ticks it
        panel.core().tickHandler().tick();
        QVERIFY(m_broker->waitForRetained(kBase + "/sync", "ON"));
        QVERIFY(m_broker->publish(kBase + "/sync/set", "OFF"));
        QTRY_VERIFY(!c.sync.isChecked());
        QCOMPARE(m_pty->drainFar(), QByteArray()); // no clock group of the panel's own

        // Picking an address shows what its display shows; Send puts the title on the line.
        c.address.setListIndex(2);
        QCOMPARE(c.title.text(), QString("Lobby"));
        c.title.setText("Hall 2");
        send->click();
        const QByteArray frame("/T\x02Hall 2\r");
        QCOMPARE(m_pty->readFarWhileRunning(int(frame.size())), frame);
        QVERIFY(m_broker->waitForRetained(kBase + "/2/title", "Hall 2"));
        // Set Time sends the entry clock as the bridge's time/set: one whole group on the line.
        auto* setTime = panel.window().findChild<QAbstractButton*>("Command3");
        QVERIFY(setTime);
        setTime->click();
        const QByteArray group = m_pty->readFarWhileRunning(20);
        QVERIFY2(group.startsWith("/M") && group.contains("/D"), group.constData());

        // An address the bridge does not serve: its reason in a box, nothing on the line.
        c.address.setListIndex(7);
        send->click();
        QTRY_COMPARE(boxes.seen().size(), 1);
        QVERIFY2(boxes.seen().at(0).text.contains("\"7\""), qPrintable(boxes.seen().at(0).text));
        QCOMPARE(m_pty->drainFar(), QByteArray());

        // The bridge goes away: a lost line, waited for; it comes back, and so does the panel.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("lost the bus line"));
        m_bridge.terminate();
        QVERIFY(m_bridge.waitForFinished());
        QTRY_COMPARE(c.statusBar.panelText(1),
                     "Waiting for the bridge on " + start.port.lineName.busLabel() + " ...");
        startBridge();
        QTRY_COMPARE_WITH_TIMEOUT(c.statusBar.panelText(2), open, 10000);
        c.address.setListIndex(1);
        clear->click();
        const QByteArray cleared("/T\x01\r");
        QCOMPARE(m_pty->readFarWhileRunning(int(cleared.size())), cleared);
    }

    // A bus line chosen once the panel runs on a serial line: its commands and the sync box go
    // to the bridge from then on.
    void busLineChosenLater() {
        StartOptions options;
        QCOMPARE(options.read({"velk-pro", "--port", busUrl(), "--credentials",
                               m_broker->credentialsFile(), "--connect"}),
                 StartOptions::Outcome::Run);
        const StartSettings& start = options.settings();
        FakeClock clock;
        FakeClockState ownClock;
        BusSeam bus(start.access, ownClock, nullptr, &makePanelBus);
        const auto makePort = [&bus](const LineName& name, QString* w) {
            return bus.makePort(name, w);
        };
        auto port = LinePort::create(*LineName::parse("16", nullptr), makePort, nullptr);
        LinePort& line = *port;
        Panel panel(std::move(port), clock, &bus.clockState(), nullptr, bus.sinkFactory());
        QString why;
        QVERIFY2(line.setName(start.port.lineName, &why), qPrintable(why));
        panel.load(start);
        panel.start();
        MainWindowControls& c = panel.window().controls();
        QTRY_COMPARE(c.statusBar.panelText(2), start.port.lineName.busLabel() + " : 9600,N,8,1  ");
        c.address.setListIndex(3);
        c.title.setText("Later");
        panel.window().findChild<QAbstractButton*>("Command2")->click();
        QVERIFY(m_broker->waitForRetained(kBase + "/3/title", "Later"));
        QCOMPARE(m_pty->readFarWhileRunning(9), QByteArray("/T\x03Later\r"));
    }

    // The program itself loads its bus lines from their plugin once such a line is named, and
    // says so in one line where the plugin is missing.
    void programLoadsItsBusLines() {
        QProcess panel;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        panel.setProcessEnvironment(env);
        const QStringList arguments{"--port",        busUrl(),
                                    "--credentials", m_broker->credentialsFile(),
                                    "--connect",     "--sync"};
        panel.start(kPanelPath, arguments);
        QVERIFY(m_broker->waitForRetained(kBase + "/sync", "ON"));
        panel.terminate();
        QVERIFY(panel.waitForFinished());
        QVERIFY(m_broker->publish(kBase + "/sync/set", "OFF"));
        QVERIFY(m_broker->waitForRetained(kBase + "/sync", "OFF"));

        // Alone in a folder, without its plugins.
        QTemporaryDir alone;
        const QString copy = alone.filePath("velk-pro");
        QVERIFY(QFile::copy(kPanelPath, copy));
        panel.start(copy, arguments);
        QVERIFY(panel.waitForFinished());
        QCOMPARE(panel.exitCode(), 2);
        const QString said = QString::fromLocal8Bit(panel.readAllStandardError());
        QVERIFY2(said.contains("bus lines are not available in this installation"),
                 qPrintable(said));
    }

    // Without --credentials the broker refuses the connection: the panel asks once, and goes
    // on with what the operator typed; a cancel is a failed CONNECT.
    void asksForTheLogin_data() {
        QTest::addColumn<bool>("answered");
        QTest::newRow("answered") << true;
        QTest::newRow("cancelled") << false;
    }
    void asksForTheLogin() {
        QFETCH(bool, answered);
        StartOptions options;
        options.read({"velk-pro", "--port",
                      QString("mqtt://127.0.0.1:%1/%2").arg(m_broker->port()).arg(kBase),
                      "--connect"});
        const StartSettings& start = options.settings();
        FakeLogin login;
        if (answered)
            login.given = BrokerLogin::Given{MosquittoBroker::kUser, MosquittoBroker::kPassword};
        FakeClock clock;
        FakeClockState ownClock;
        BusSeam bus(start.access, ownClock, &login, &makePanelBus);
        auto port = LinePort::create(
            start.port.lineName,
            [&bus](const LineName& name, QString* w) { return bus.makePort(name, w); }, nullptr);
        Panel panel(std::move(port), clock, &bus.clockState(), nullptr, bus.sinkFactory());
        test::MessageCatcher boxes;
        panel.load(start);
        panel.start();
        StatusBar& bar = panel.window().controls().statusBar;
        if (answered) {
            QTRY_COMPARE(bar.panelText(2), start.port.lineName.busLabel() + " : 9600,N,8,1  ");
        } else {
            QTRY_COMPARE(boxes.seen().size(), 1);
            QVERIFY2(boxes.seen().at(0).text.contains("refused"),
                     qPrintable(boxes.seen().at(0).text));
        }
        QCOMPARE(login.asked, 1);
    }
};

QTEST_MAIN(TestBusPanel)
#include "tst_buspanel.moc"
