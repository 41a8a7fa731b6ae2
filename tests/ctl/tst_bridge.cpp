#include "bus/mqttclient.h"
#include "controls/clockstate.h"
#include "ctl/bridge.h"
#include "ctl/bridgeoptions.h"
#include "ctl/ctloptions.h"
#include "ctl/syncservice.h"
#include "doubles/fakeclock.h"
#include "doubles/fakeclockstate.h"
#include "doubles/memoryserialport.h"
#include "port/linename.h"
#include "support/mosquittobroker.h"
#include "support/processoutput.h"
#include "support/ptypair.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cctype>
#include <csignal>

// `velk-ctl bridge` between a mosquitto of the test's own and a pseudo-terminal pair: what each
// topic puts on the line, byte for byte, what it keeps retained, what it refuses, and how it
// lives through a broker restart, a lost line and its own end.

using namespace velk;
using velk::test::MosquittoBroker;
using velk::test::MqttListener;
using velk::test::MqttMessage;

namespace {

constexpr int kWaitMs = 15000;
const QString kCtlPath = QStringLiteral(VELK_CTL_PATH);
const QString kBase = QStringLiteral("velk/near"); // the default: the line's file name

QStringList bridgeArguments(const QString& port, const MosquittoBroker& broker,
                            const QStringList& more = {}) {
    return QStringList{"--port",
                       port,
                       "bridge",
                       "--broker",
                       broker.url(),
                       "--credentials",
                       broker.credentialsFile()} +
           more;
}

QByteArray retainedPayload(const QList<MqttMessage>& messages, const QString& topic) {
    for (const MqttMessage& message : messages)
        if (message.topic == topic)
            return message.payload;
    return {};
}

} // namespace

class TestBridge : public QObject {
    Q_OBJECT

    std::unique_ptr<MosquittoBroker> m_broker;
    std::unique_ptr<test::PtyPair> m_pty;
    QProcess m_bridge;

    bool bridgeRunning() { return m_bridge.state() == QProcess::Running; }

private slots:
    void initTestCase() {
        m_broker = std::make_unique<MosquittoBroker>();
        QVERIFY2(m_broker->isReady(), qPrintable(m_broker->error()));
        m_pty = std::make_unique<test::PtyPair>();
        QVERIFY2(m_pty->isReady(), qPrintable(m_pty->error()));
        m_bridge.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_bridge.start(kCtlPath, bridgeArguments(m_pty->near(), *m_broker,
                                                 {"--addresses", "1-4,7,all", "--no-sync"}));
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "online"));
    }
    void cleanupTestCase() {
        m_bridge.kill();
        m_bridge.waitForFinished(kWaitMs);
    }

    void lineName_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::newRow("device") << "/dev/ttyUSB0"
                                << "ttyUSB0";
        QTest::newRow("by-id, signs topics dislike") << "/dev/serial/by-id/usb-FTDI+x#1:0"
                                                     << "usb-FTDI_x_1_0";
        QTest::newRow("Windows") << "\\\\.\\COM17"
                                 << "COM17";
        QTest::newRow("rfc2217") << "rfc2217://gw-3.hall:4001"
                                 << "gw-3.hall_4001";
        QTest::newRow("tcp, IPv6") << "tcp://[::1]:4001"
                                   << "__1_4001";
    }
    void lineName() {
        QFETCH(QString, line);
        QFETCH(QString, name);
        const std::optional<LineName> parsed = LineName::parse(line, nullptr);
        QVERIFY(parsed);
        QCOMPARE(BridgeOptions::lineName(*parsed, line), name);
    }

    void addressList_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("addresses");
        QTest::addColumn<QString>("why");
        QTest::newRow("ranges and all") << "1-4,7,all" << QList<int>{1, 2, 3, 4, 7, 255} << "";
        QTest::newRow("each once") << "7, 7,ALL,6-7" << QList<int>{7, 255, 6} << "";
        QTest::newRow("0") << "0" << QList<int>{} << "address \"0\": expected 1-254 or all";
        QTest::newRow("300 in a range")
            << "1-300" << QList<int>{} << "address \"300\": expected 1-254 or all";
        QTest::newRow("backwards") << "5-2" << QList<int>{} << "expected the lower address first";
        QTest::newRow("empty item") << "1,,2" << QList<int>{} << "address \"\"";
    }
    void addressList() {
        QFETCH(QString, text);
        QFETCH(QList<int>, addresses);
        QFETCH(QString, why);
        QString reason;
        const std::optional<QList<quint8>> list = BridgeOptions::readAddressList(text, &reason);
        QCOMPARE(list.has_value(), why.isEmpty());
        QVERIFY2(reason.contains(why), qPrintable(reason));
        QList<int> got;
        for (quint8 address : list.value_or(QList<quint8>()))
            got << address;
        QCOMPARE(got, addresses);
    }

    void refusedOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("why");
        QTest::newRow("no broker") << QStringList{"bridge"} << "--broker: bridge needs";
        QTest::newRow("http") << QStringList{"bridge", "--broker", "http://h"}
                              << "expected mqtt://HOST[:PORT]";
        QTest::newRow("password in the URL")
            << QStringList{"bridge", "--broker", "mqtt://u:p@h"} << "expected mqtt://";
        QTest::newRow("ca without tls")
            << QStringList{"bridge", "--broker", "mqtt://h", "--ca", "/etc/hostname"}
            << "--ca: only for an mqtts:// broker";
        QTest::newRow("wildcard topic")
            << QStringList{"bridge", "--broker", "mqtt://h", "--topic", "velk/#"} << "--topic";
        QTest::newRow("address list")
            << QStringList{"bridge", "--broker", "mqtt://h", "--addresses", "1,x"}
            << "--addresses: address \"x\"";
        QTest::newRow("bridge option elsewhere")
            << QStringList{"sync", "--no-sync"} << "--no-sync: only for bridge";
        QTest::newRow("control character in the topic")
            << QStringList{"bridge", "--broker", "mqtt://h", "--topic",
                           "velk/a\x01"
                           "b"}
            << "--topic: \"velk/a?b\": expected levels";
        QTest::newRow("the broker's own topics")
            << QStringList{"bridge", "--broker", "mqtt://h", "--topic", "$SYS/velk"} << "--topic";
        QTest::newRow("client id over 65,535 bytes")
            << QStringList{"bridge", "--broker", "mqtt://h", "--client-id",
                           QString(32768, u'\u00e9')}
            << "--client-id: 65536 bytes; MQTT takes at most 65535";
        QTest::newRow("client id with a control character")
            << QStringList{"bridge", "--broker", "mqtt://h", "--client-id", "desk\t1"}
            << "--client-id: holds a control character";
        QTest::newRow("unknown time zone") << QStringList{"sync", "--time-zone", "Mars/Olympus"}
                                           << "--time-zone: \"Mars/Olympus\"";
        QTest::newRow("time zone for a title")
            << QStringList{"title", "1", "x", "--time-zone", "UTC"}
            << "--time-zone: only with sync, time or bridge";
    }
    void refusedOptions() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, why);
        const CtlOptions options = CtlOptions::parse(QStringList{"velk-ctl"} + arguments);
        QCOMPARE(options.outcome, CtlOptions::Outcome::UsageError);
        QVERIFY2(options.error.contains(why), qPrintable(options.error));
    }

    // Each topic's bytes on the line and the state it leaves retained.
    void commands_data() {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("bytes"); // '#' stands for any digit
        QTest::addColumn<QByteArray>("state");
        QTest::newRow("title") << "1/title/set" << QByteArray("Hall 3")
                               << QByteArray("/T\x01Hall 3\r") << QByteArray("Hall 3");
        QTest::newRow("title to all, Latin-1, a line break")
            << "all/title/set" << QByteArray("Caf\xc3\xa9\nOpen")
            << QByteArray("/T\xff"
                          "Caf\xe9 Open\r")
            << QByteArray("Caf\xc3\xa9 Open");
        QTest::newRow("title 7") << "7/title/set" << QByteArray("Gate")
                                 << QByteArray("/T\x07"
                                               "Gate\r")
                                 << QByteArray("Gate");
        QTest::newRow("clear, no payload")
            << "7/clear" << QByteArray() << QByteArray("/T\x07\r") << QByteArray();
        QTest::newRow("time") << "time/set" << QByteArray("2028-02-29 17:05")
                              << QByteArray("/M05/H17/m02/Y28/D29") << QByteArray();
        QTest::newRow("time now") << "time/set" << QByteArray("now")
                                  << QByteArray("/M##/H##/m##/Y##/D##") << QByteArray();
    }
    void commands() {
        QFETCH(QString, topic);
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, state);
        QVERIFY(m_broker->publish(kBase + '/' + topic, payload));
        const QByteArray line = m_pty->readFar(int(bytes.size()), kWaitMs);
        QCOMPARE(line.size(), bytes.size());
        for (qsizetype i = 0; i < bytes.size(); ++i)
            QVERIFY2(bytes.at(i) == '#' ? std::isdigit(line.at(i)) : line.at(i) == bytes.at(i),
                     line.toHex(' ').constData());
        QCOMPARE(m_pty->drainFar(100), QByteArray());
        if (topic.endsWith("/title/set"))
            QVERIFY(m_broker->waitForRetained(kBase + '/' + topic.chopped(4), state));
        if (topic.endsWith("/clear")) // an empty retained message leaves nothing retained
            QTRY_VERIFY(m_broker->retained(kBase + '/' + topic.chopped(5) + "title").isEmpty());
    }

    // Off from the start (--no-sync), so no minute's clock group mixes with the bytes checked.
    void sync() {
        QVERIFY(m_broker->waitForRetained(kBase + "/sync", "OFF"));
        for (const QByteArray word : {"ON", "OFF"}) {
            QVERIFY(m_broker->publish(kBase + "/sync/set", word));
            QVERIFY(m_broker->waitForRetained(kBase + "/sync", word));
        }
        m_pty->drainFar(100); // a clock group, should a minute have begun while it was on
    }

    // One line on BASE/error with velk-ctl's reason, and nothing on the line.
    void refusals_data() {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("why");
        QTest::newRow("address 0")
            << "0/clear" << QByteArray("x") << "address \"0\": expected 1-254 or all";
        QTest::newRow("address not in the list")
            << "5/clear" << QByteArray()
            << "address \"5\": not one this bridge answers for (1,2,3,4,7,all)";
        QTest::newRow("address 300")
            << "300/title/set" << QByteArray("A") << "address \"300\": expected 1-254 or all";
        QTest::newRow("address x") << "x/title/set" << QByteArray("A") << "address \"x\"";
        QTest::newRow("21 characters") << "1/title/set" << QByteArray("ABCDEFGHIJ\nKLMNOPQRST")
                                       << "has 21 characters; a display shows at most 20";
        QTest::newRow("a character no display shows")
            << "1/title/set" << QByteArray("5 \xe2\x9c\x93") << "cannot show: \"\u2713\"";
        QTest::newRow("over 1 KiB") << "1/title/set" << QByteArray(1025, 'A')
                                    << "a payload of 1025 bytes; at most 1024 are taken";
        QTest::newRow("a byte-order mark")
            << "1/title/set" << QByteArray("\xef\xbb\xbfHall") << "cannot show";
        QTest::newRow("not UTF-8")
            << "1/title/set" << QByteArray("Caf\xe9") << "the payload is not valid UTF-8";
        QTest::newRow("29 February 2027")
            << "time/set" << QByteArray("2027-02-29 10:00") << "that month has 28 days";
        QTest::newRow("time, no payload")
            << "time/set" << QByteArray() << "expected now or \"YYYY-MM-DD HH:MM\"";
        QTest::newRow("sync maybe") << "sync/set" << QByteArray("maybe") << "expected ON or OFF";
    }
    void refusals() {
        QFETCH(QString, topic);
        QFETCH(QByteArray, payload);
        QFETCH(QString, why);
        MqttListener errors(*m_broker, kBase + "/error");
        QVERIFY(errors.isReady());
        QVERIFY(m_broker->publish(kBase + '/' + topic, payload));
        const QList<MqttMessage> got = errors.waitFor(1);
        QCOMPARE(got.size(), 1);
        const QString error = QString::fromUtf8(got.first().payload);
        QVERIFY2(error.startsWith(kBase + '/' + topic + ": ") && error.contains(why),
                 qPrintable(error));
        QVERIFY(!got.first().retained);
        QCOMPARE(m_pty->drainFar(200), QByteArray());
        QVERIFY(bridgeRunning());
    }

    void discovery() {
        const QList<MqttMessage> configs = m_broker->retained("homeassistant/#");
        // A text and a clear button per address, the sync switch, "Set time now" and the PC
        // clock's sensor.
        QCOMPARE(configs.size(), 6 * 2 + 3);
        QSet<QString> ids;
        for (const MqttMessage& config : configs) {
            const QJsonObject json = QJsonDocument::fromJson(config.payload).object();
            QCOMPARE(json.value("availability_topic").toString(), kBase + "/availability");
            QCOMPARE(json.value("device").toObject().value("name").toString(), "VELK line near");
            ids.insert(json.value("unique_id").toString());
        }
        QCOMPARE(ids.size(), configs.size());
        const auto config = [&](const QString& topic) {
            for (const MqttMessage& message : configs)
                if (message.topic == "homeassistant/" + topic + "/config")
                    return QJsonDocument::fromJson(message.payload).object();
            return QJsonObject();
        };
        const QJsonObject text = config("text/velk_near/title_7");
        QCOMPARE(text.value("command_topic").toString(), kBase + "/7/title/set");
        QCOMPARE(text.value("state_topic").toString(), kBase + "/7/title");
        QCOMPARE(text.value("max").toInt(), 20);
        QCOMPARE(config("button/velk_near/clear_all").value("command_topic").toString(),
                 kBase + "/all/clear");
        const QJsonObject sync = config("switch/velk_near/sync");
        QCOMPARE(sync.value("command_topic").toString(), kBase + "/sync/set");
        QCOMPARE(sync.value("state_topic").toString(), kBase + "/sync");
        const QJsonObject setTime = config("button/velk_near/set_time");
        QCOMPARE(setTime.value("name").toString(), "Set time now");
        QCOMPARE(setTime.value("payload_press").toString(), "now");
    }

    void lostLineIsWaitedFor() {
        m_pty->stop();
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "offline"));
        QVERIFY(m_pty->restart());
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "online"));
        QVERIFY(m_broker->publish(kBase + "/2/title/set", "Back"));
        QCOMPARE(m_pty->readFar(7, kWaitMs), QByteArray("/T\x02"
                                                        "Back\r"));
    }

    void brokerRestart() {
        QVERIFY(m_broker->publish(kBase + "/3/title/set", "Kept"));
        QVERIFY(m_broker->waitForRetained(kBase + "/3/title", "Kept"));
        m_pty->drainFar();
        m_broker->kill();
        QVERIFY(m_broker->restart());
        // The restarted broker kept nothing: what is there the bridge published again.
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "online", 45000));
        const QList<MqttMessage> states = m_broker->retained(kBase + "/#");
        QCOMPARE(retainedPayload(states, kBase + "/3/title"), QByteArray("Kept"));
        QCOMPARE(retainedPayload(states, kBase + "/sync"), QByteArray("OFF"));
        QVERIFY(!m_broker->retained("homeassistant/#").isEmpty());
        QVERIFY(m_broker->publish(kBase + "/4/clear", ""));
        QCOMPARE(m_pty->readFar(4, kWaitMs), QByteArray("/T\x04\r"));
    }

    void killedBridgeLeavesItsWill() {
        ::kill(pid_t(m_bridge.processId()), SIGKILL);
        QVERIFY(m_bridge.waitForFinished(kWaitMs));
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "offline"));
    }

    void termEndsWithOffline() {
        test::PtyPair pty;
        QVERIFY(pty.isReady());
        QProcess bridge;
        bridge.start(kCtlPath,
                     bridgeArguments(pty.near(), *m_broker, {"--topic", "term", "--no-discovery"}));
        QVERIFY(m_broker->waitForRetained("term/availability", "online"));
        ::kill(pid_t(bridge.processId()), SIGTERM);
        QVERIFY(bridge.waitForFinished(kWaitMs));
        QCOMPARE(bridge.exitStatus(), QProcess::NormalExit);
        QCOMPARE(bridge.exitCode(), 0);
        QCOMPARE(retainedPayload(m_broker->retained("term/#"), "term/availability"),
                 QByteArray("offline"));
    }

    void startRefused_data() {
        QTest::addColumn<QString>("credentials"); // user:password:mode
        QTest::addColumn<bool>("brokerThere");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("why");
        QTest::newRow("wrong password")
            << "velk:guess:600" << true << 1 << "refused the connection: ";
        QTest::newRow("no broker") << "velk:x:600" << false << 1 << "cannot connect to the broker";
        QTest::newRow("credentials others may read")
            << "velk:x:644" << true << 2 << "may be read by others";
    }
    void startRefused() {
        QFETCH(QString, credentials);
        QFETCH(bool, brokerThere);
        QFETCH(int, status);
        QFETCH(QString, why);
        test::PtyPair pty;
        QVERIFY(pty.isReady());
        MosquittoBroker broker;
        QVERIFY(broker.isReady());
        const QStringList fields = credentials.split(':');
        const QString file = broker.writeCredentials("given", fields.at(0), fields.at(1),
                                                     fields.at(2).toInt(nullptr, 8));
        if (!brokerThere)
            broker.kill();
        QProcess bridge;
        bridge.start(kCtlPath, {"--port", pty.near(), "bridge", "--broker", broker.url(),
                                "--credentials", file});
        QVERIFY(bridge.waitForFinished(kWaitMs));
        QCOMPARE(bridge.exitCode(), status);
        const QString err = QString::fromUtf8(bridge.readAllStandardError());
        QVERIFY2(err.contains(why) && (status == 2 || err.contains(broker.url())), qPrintable(err));
        // The minute's groups begin only with the broker: none began, none is said to end.
        QVERIFY2(!err.contains("sync o"), qPrintable(err));
    }

    // The PC clock's state, from a stand-in: retained, published again when it changes, and a
    // sensor for it in discovery.
    void clockState() {
        FakeClockState clockState; // synchronised to start with
        MemorySerialPort port;
        FakeClock clock;
        SyncService sync(port, clock, clockState);
        QString failure = "none";
        sync.start(CtlOptions(), [&failure](const QString& why) { failure = why; });
        QCOMPARE(failure, QString());
        MqttClient::Settings settings;
        settings.host = "127.0.0.1";
        settings.port = m_broker->port();
        settings.user = MosquittoBroker::kUser;
        settings.password = MosquittoBroker::kPassword;
        MqttClient mqtt(settings);
        BridgeOptions options;
        Bridge bridge(options, {"clock", "near", "/dev/near", "UTC"}, mqtt, port, sync, clock,
                      &clockState);
        mqtt.start();
        QVERIFY(m_broker->waitForRetained("clock/clock", "synchronised"));
        clockState.set(ClockState::Sync::NotSynchronised);
        QVERIFY(m_broker->waitForRetained("clock/clock", "not synchronised"));
        const QJsonObject sensor =
            QJsonDocument::fromJson(
                retainedPayload(m_broker->retained("homeassistant/binary_sensor/#"),
                                "homeassistant/binary_sensor/clock/clock/config"))
                .object();
        QCOMPARE(sensor.value("state_topic").toString(), "clock/clock");
        bool done = false;
        bridge.stop([&] { done = true; });
        QTRY_VERIFY(done);
        sync.stop({});
    }
};

QTEST_GUILESS_MAIN(TestBridge)
#include "tst_bridge.moc"
