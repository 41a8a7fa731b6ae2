#include "bus/mqttclient.h"
#include "support/mosquittobroker.h"
#include "support/processoutput.h"
#include "support/ptypair.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

// `velk-ctl bridge` as the line's one owner, between a mosquitto of the test's own (password
// file, no anonymous access, a TLS listener) and a pseudo-terminal pair: MQTT 5 requests and
// their one answer, several senders at once, retained commands, Home Assistant's birth, the
// line's description and frames, its time zone, and mqtts.

using namespace velk;
using velk::test::MosquittoBroker;

namespace {

constexpr int kWaitMs = 15000;
const QString kCtlPath = QStringLiteral(VELK_CTL_PATH);
const QString kBase = QStringLiteral("hall");
// Fourteen hours ahead of UTC: its hour differs from the machine's almost everywhere.
const QString kZone = QStringLiteral("Pacific/Kiritimati");

MqttClient::Settings settingsFor(const MosquittoBroker& broker, const QString& clientId) {
    MqttClient::Settings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = broker.port();
    settings.user = MosquittoBroker::kUser;
    settings.password = MosquittoBroker::kPassword;
    settings.clientId = clientId;
    return settings;
}

// An operator's program on the bus: publishes requests as the bus line does and collects what
// arrives on the topics it listens to.
class BusClient {
public:
    BusClient(const MosquittoBroker& broker, const QString& id, const QStringList& topics)
        : m_id(id), m_mqtt(settingsFor(broker, id)) {
        m_mqtt.onConnected([this, topics] {
            m_granted = 0;
            for (const QString& topic : topics + QStringList{replyTopic()})
                m_mqtt.subscribe(topic);
        });
        m_mqtt.onSubscribed([this](const QString&, bool granted) { m_granted += granted; });
        m_mqtt.onMessage([this](const MqttClient::Message& message) { received << message; });
        m_mqtt.start();
        m_expected = topics.size() + 1;
    }
    bool waitUntilListening() {
        return QTest::qWaitFor([this] { return m_granted == m_expected; }, kWaitMs);
    }
    QString replyTopic() const { return kBase + QStringLiteral("/reply/") + m_id; }
    // Publishes a request; returns its correlation data.
    QByteArray request(const QString& path, const QByteArray& payload) {
        MqttClient::PublishOptions options;
        options.responseTopic = replyTopic();
        options.correlationData = QByteArray(16, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(
            reinterpret_cast<quint32*>(options.correlationData.data()), 4);
        options.expirySeconds = 5;
        m_mqtt.publish(kBase + '/' + path, payload, options);
        return options.correlationData;
    }
    void publish(const QString& topic, const QByteArray& payload, bool retain) {
        m_mqtt.publish(topic, payload, retain);
    }
    QList<MqttClient::Message> answers() const {
        QList<MqttClient::Message> found;
        for (const MqttClient::Message& message : received)
            if (message.topic == replyTopic())
                found << message;
        return found;
    }
    QList<MqttClient::Message> received;

private:
    QString m_id;
    MqttClient m_mqtt;
    int m_granted = 0;
    int m_expected = 0;
};

QString zoneHour() {
    return QDateTime::currentDateTime().toTimeZone(QTimeZone(kZone.toUtf8())).toString("HH");
}

} // namespace

class TestBridgeBus : public QObject {
    Q_OBJECT

    std::unique_ptr<MosquittoBroker> m_broker;
    std::unique_ptr<test::PtyPair> m_pty;
    std::unique_ptr<BusClient> m_client;
    QProcess m_bridge;

    void startBridge(QProcess& bridge, const QString& port, const QStringList& more) {
        bridge.start(kCtlPath, QStringList{"--port", port, "bridge", "--broker", m_broker->url(),
                                           "--credentials", m_broker->credentialsFile()} +
                                   more);
    }

private slots:
    void initTestCase() {
        m_broker = std::make_unique<MosquittoBroker>(MosquittoBroker::Tls::With);
        QVERIFY2(m_broker->isReady(), qPrintable(m_broker->error()));
        m_pty = std::make_unique<test::PtyPair>();
        QVERIFY2(m_pty->isReady(), qPrintable(m_pty->error()));
        startBridge(
            m_bridge, m_pty->near(),
            {"--topic", kBase, "--addresses", "1-4,all", "--no-sync", "--time-zone", kZone});
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "online"));
        m_client = std::make_unique<BusClient>(*m_broker, "desk", QStringList{kBase + "/frames"});
        QVERIFY(m_client->waitUntilListening());
    }
    void cleanupTestCase() {
        m_client.reset();
        m_bridge.kill();
        m_bridge.waitForFinished(kWaitMs);
    }

    // Exactly one answer per request, with its correlation data: "ok" once the bytes are on the
    // line, otherwise the reason, naming the address where it is about one.
    void requests_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("bytes"); // 'h' stands for the zone's hour
        QTest::newRow("title") << "2/title/set" << QByteArray("Gate 4") << "ok"
                               << QByteArray("/T\x02Gate 4\r");
        QTest::newRow("clear") << "3/clear" << QByteArray() << "ok" << QByteArray("/T\x03\r");
        QTest::newRow("time now, the line's zone")
            << "time/set" << QByteArray("now") << "ok" << QByteArray("/Hhh");
        QTest::newRow("address not served")
            << "9/clear" << QByteArray() << "address \"9\": not one this bridge answers for"
            << QByteArray();
        QTest::newRow("byte-order mark refused, not stripped")
            << "1/title/set" << QByteArray("\xef\xbb\xbfHall") << "cannot show" << QByteArray();
        QTest::newRow("sync") << "sync/set" << QByteArray("OFF") << "ok" << QByteArray();
    }
    void requests() {
        QFETCH(QString, path);
        QFETCH(QByteArray, payload);
        QFETCH(QString, answer);
        QFETCH(QByteArray, bytes);
        m_client->received.clear();
        const QString hourBefore = zoneHour();
        const QByteArray correlation = m_client->request(path, payload);
        QTRY_COMPARE_WITH_TIMEOUT(m_client->answers().size(), 1, kWaitMs);
        const MqttClient::Message reply = m_client->answers().first();
        QVERIFY2(QString::fromUtf8(reply.payload).contains(answer), reply.payload.constData());
        QCOMPARE(reply.correlationData, correlation);
        QVERIFY(!reply.retained);
        QByteArray line = m_pty->drainFar(300);
        if (bytes.contains('h')) { // the hour frame of the group, in the bridge's zone
            line = line.mid(line.indexOf("/H"), 4);
            QVERIFY2(line == "/H" + hourBefore.toLatin1() || line == "/H" + zoneHour().toLatin1(),
                     line.constData());
        } else {
            QCOMPARE(line, bytes);
        }
        QCOMPARE(m_client->answers().size(), 1); // and no second one
    }

    // Two senders at once: every frame reaches the line whole, each request has its "ok", and
    // BASE/frames shows each frame as written.
    void twoSendersAtOnce() {
        BusClient other(*m_broker, "office", {});
        QVERIFY(other.waitUntilListening());
        m_client->received.clear();
        constexpr int kEach = 20;
        for (int i = 0; i < kEach; ++i) {
            m_client->request("1/title/set",
                              QStringLiteral("A%1").arg(i, 2, 10, QChar('0')).toUtf8());
            other.request("4/title/set", QStringLiteral("B%1").arg(i, 2, 10, QChar('0')).toUtf8());
        }
        const QByteArray line = m_pty->readFar(2 * kEach * 7, kWaitMs);
        static const QRegularExpression whole(QStringLiteral("^/T(\\x01A|\\x04B)\\d\\d$"));
        const QList<QByteArray> frames = line.split('\r');
        QCOMPARE(frames.size(), 2 * kEach + 1);
        for (const QByteArray& frame : frames.mid(0, 2 * kEach))
            QVERIFY2(whole.match(QString::fromLatin1(frame)).hasMatch(), frame.toHex(' '));
        QTRY_COMPARE_WITH_TIMEOUT(m_client->answers().size(), kEach, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(other.answers().size(), kEach, kWaitMs);
        for (const auto& answers : {m_client->answers(), other.answers()})
            for (const MqttClient::Message& answer : answers)
                QCOMPARE(answer.payload, QByteArray("ok"));
        QByteArray shown;
        for (const MqttClient::Message& message : m_client->received)
            if (message.topic == kBase + "/frames")
                shown += message.payload;
        QCOMPARE(shown, line);
    }

    // A title to all is what every listed address shows.
    void titleToAllIsEveryAddresssTitle() {
        m_client->received.clear();
        m_client->request("all/title/set", "Closed");
        QTRY_COMPARE_WITH_TIMEOUT(m_client->answers().size(), 1, kWaitMs);
        QVERIFY(m_broker->waitForRetained(kBase + "/1/title", "Closed"));
        for (const char* address : {"2", "3", "4", "all"})
            QVERIFY(m_broker->waitForRetained(kBase + '/' + address + "/title", "Closed"));
        m_pty->drainFar(200);
    }

    void lineAndSyncStates() {
        const QJsonObject line =
            QJsonDocument::fromJson(m_broker->retained(kBase + "/line", 1).value(0).payload)
                .object();
        QCOMPARE(line.value("line").toString(), m_pty->near());
        QCOMPARE(line.value("settings").toString(), "9600,N,8,1");
        QCOMPARE(line.value("addresses").toArray(), (QJsonArray{1, 2, 3, 4, 255}));
        QCOMPARE(line.value("time_zone").toString(), kZone);
        QVERIFY(m_broker->waitForRetained(kBase + "/sync", "OFF"));
    }

    // Deleted discovery comes back when Home Assistant says it is online again.
    void birthPublishesEverythingAgain() {
        const QString config = "homeassistant/switch/" + kBase + "/sync/config";
        QVERIFY(!m_broker->retained(config).isEmpty());
        QVERIFY(m_broker->publish(config, "", true));
        QTRY_VERIFY(m_broker->retained(config).isEmpty());
        QVERIFY(m_broker->publish("homeassistant/status", "online"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_broker->retained(config).isEmpty(), kWaitMs);
    }

    // While the line is lost a request is answered at once and nothing waits for the line.
    void lostLineAnswersAtOnce() {
        m_pty->stop();
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "offline"));
        m_client->received.clear();
        m_client->request("1/title/set", "Late");
        QTRY_COMPARE_WITH_TIMEOUT(m_client->answers().size(), 1, kWaitMs);
        QVERIFY2(m_client->answers().first().payload.contains("is not open; nothing was sent"),
                 m_client->answers().first().payload.constData());
        QVERIFY(m_pty->restart());
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "online"));
        QCOMPARE(m_pty->drainFar(300), QByteArray());
    }

    // A retained command is never carried out: not at start, not after the broker restarts, and
    // said once on BASE/error. --no-sync starts no sync.
    void retainedCommandsAndNoSync() {
        test::PtyPair pty;
        QVERIFY(pty.isReady());
        BusClient watcher(*m_broker, "watcher", {"kept/error"});
        QVERIFY(watcher.waitUntilListening());
        QVERIFY(m_broker->publish("kept/time/set", "2020-01-01 00:00", true));
        QProcess bridge;
        startBridge(bridge, pty.near(), {"--topic", "kept", "--no-discovery", "--no-sync"});
        QVERIFY(m_broker->waitForRetained("kept/availability", "online"));
        QTRY_COMPARE_WITH_TIMEOUT(watcher.received.size(), 1, kWaitMs);
        QVERIFY(watcher.received.first().payload.contains("a retained command is never carried"));
        m_broker->kill();
        QVERIFY(m_broker->restart());
        QVERIFY(m_broker->publish("kept/sync/set", "ON", true));
        QVERIFY(m_broker->waitForRetained("kept/availability", "online", 45000));
        QVERIFY(m_broker->waitForRetained("kept/sync", "OFF"));
        QVERIFY(m_broker->publish("kept/all/clear", ""));
        QCOMPARE(pty.readFar(4, kWaitMs), QByteArray("/T\xff\r")); // only the live command
        QVERIFY(m_broker->publish("kept/sync/set", "", true));
        bridge.terminate();
        QVERIFY(bridge.waitForFinished(kWaitMs));
        const QByteArray log = bridge.readAllStandardError();
        QVERIFY2(!log.contains("sync on"), log.constData());
        QCOMPARE(log.count("a retained command on kept/sync/set"), 1);
        // The main bridge lived through the restart too.
        QVERIFY(m_broker->waitForRetained(kBase + "/availability", "online", 45000));
        QVERIFY(m_client->waitUntilListening());
    }

    // A broker name that does not resolve ends the start as a refused connection does.
    void unknownBrokerName() {
        test::PtyPair pty;
        QVERIFY(pty.isReady());
        const test::ProgramRun run = test::runProgram(
            kCtlPath, {"--port", pty.near(), "bridge", "--broker", "mqtt://no-such-host.invalid"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("cannot look up the name"), qPrintable(run.err));
    }

    // mqtts: the certificate is checked against the CA given, and the broker's name.
    void tls_data() {
        QTest::addColumn<bool>("rightCa");
        QTest::newRow("the broker's CA") << true;
        QTest::newRow("another CA") << false;
    }
    void tls() {
        QFETCH(bool, rightCa);
        test::PtyPair pty;
        QVERIFY(pty.isReady());
        const QString ca = rightCa ? m_broker->caFile() : m_broker->otherCaFile();
        QProcess bridge;
        bridge.start(kCtlPath, {"--port", pty.near(), "bridge", "--broker", m_broker->tlsUrl(),
                                "--credentials", m_broker->credentialsFile(), "--ca", ca, "--topic",
                                "tls", "--no-discovery"});
        if (rightCa) {
            QVERIFY(m_broker->waitForRetained("tls/availability", "online"));
            // The broker gone: each refused try ends and the next is paced, then it is back.
            m_broker->kill();
            QByteArray log;
            QTRY_VERIFY_WITH_TIMEOUT(
                (log += bridge.readAllStandardError(), log.count("trying the broker") >= 2),
                kWaitMs);
            QVERIFY(m_broker->restart());
            QVERIFY(m_broker->waitForRetained("tls/availability", "online", 45000));
            bridge.terminate();
        }
        QVERIFY(bridge.waitForFinished(kWaitMs));
        QCOMPARE(bridge.exitCode(), rightCa ? 0 : 1);
        const QString err = QString::fromUtf8(bridge.readAllStandardError());
        if (!rightCa)
            QVERIFY2(err.contains("certificate") && err.contains(ca), qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestBridgeBus)
#include "tst_bridgebus.moc"
