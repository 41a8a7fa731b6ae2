// A title command through the broker and `velk-ctl bridge` beside the same frame written straight
// to a pty, alternately, in one run: from the request's publish (MQTT 5, response topic,
// correlation data, expiry, as a bus line sends it) to the first byte at the far end of the
// bridge's line, from the write to the first byte at the far end of the direct line, and from the
// publish to the bridge's "ok".
// Usage: bench-bus PORT USER PASSWORD BASE BRIDGE_FAR DIRECT_NEAR DIRECT_FAR COUNT

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QSerialPort>
#include <QTextStream>

#include <algorithm>
#include <fcntl.h>
#include <mosquitto.h>
#include <mqtt_protocol.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kLineTimeoutMs = 2000;

int openFarEnd(const char* path) {
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios raw{};
    if (fd < 0 || ::tcgetattr(fd, &raw) != 0)
        return -1;
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    return fd;
}

// Reads a frame to its carriage return; the time of its first byte, or -1.
qint64 firstByteNs(int fd, const QElapsedTimer& clock) {
    qint64 first = -1;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kLineTimeoutMs) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, kLineTimeoutMs) <= 0)
            continue;
        char bytes[64];
        const ssize_t got = ::read(fd, bytes, sizeof bytes);
        if (got <= 0)
            continue;
        if (first < 0)
            first = clock.nsecsElapsed();
        if (std::find(bytes, bytes + got, '\r') != bytes + got)
            return first;
    }
    return -1;
}

struct Answer {
    bool arrived = false;
};

void onMessage(mosquitto*, void* answer, const mosquitto_message*, const mosquitto_property*) {
    static_cast<Answer*>(answer)->arrived = true;
}

QString figures(QList<double> micros) {
    if (micros.isEmpty())
        return QStringLiteral("none");
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double share) { return micros.at(int(share * (micros.size() - 1))); };
    return QStringLiteral("median %1 us, p95 %2 us (min %3, max %4)")
        .arg(at(0.5), 0, 'f', 0)
        .arg(at(0.95), 0, 'f', 0)
        .arg(micros.first(), 0, 'f', 0)
        .arg(micros.last(), 0, 'f', 0);
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

mosquitto* connectClient(char* argv[], Answer* answer) {
    mosquitto* mosq = mosquitto_new("bench-bus", true, answer);
    mosquitto_int_option(mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    mosquitto_int_option(mosq, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_username_pw_set(mosq, argv[2], argv[3]);
    mosquitto_message_v5_callback_set(mosq, &onMessage);
    if (mosquitto_connect(mosq, "127.0.0.1", atoi(argv[1]), 30) == MOSQ_ERR_SUCCESS)
        return mosq;
    mosquitto_destroy(mosq);
    return nullptr;
}

// Publishes a title as a bus line sends a request.
void publishRequest(mosquitto* mosq, const QByteArray& topic, const QByteArray& title,
                    const QByteArray& replies, int number) {
    mosquitto_property* properties = nullptr;
    mosquitto_property_add_string(&properties, MQTT_PROP_RESPONSE_TOPIC, replies.constData());
    const QByteArray correlation = QByteArray::number(number).rightJustified(16, '0');
    mosquitto_property_add_binary(&properties, MQTT_PROP_CORRELATION_DATA, correlation.constData(),
                                  uint16_t(correlation.size()));
    mosquitto_property_add_int32(&properties, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL, 5);
    mosquitto_publish_v5(mosq, nullptr, topic.constData(), int(title.size()), title.constData(), 1,
                         false, properties);
    mosquitto_loop_write(mosq, 1);
    mosquitto_property_free_all(&properties);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc != 9) {
        QTextStream(stderr) << "usage: bench-bus PORT USER PASSWORD BASE BRIDGE_FAR DIRECT_NEAR "
                               "DIRECT_FAR COUNT\n";
        return 2;
    }
    const QByteArray base = argv[4];
    const int count = atoi(argv[8]);
    const int bridgeFar = openFarEnd(argv[5]);
    const int directFar = openFarEnd(argv[7]);
    QSerialPort direct(QString::fromLocal8Bit(argv[6]));
    if (bridgeFar < 0 || directFar < 0 || !direct.open(QIODevice::WriteOnly))
        return 1;

    mosquitto_lib_init();
    Answer answer;
    mosquitto* mosq = connectClient(argv, &answer);
    if (!mosq)
        return 1;
    const QByteArray replies = base + "/reply/bench-bus";
    mosquitto_subscribe_v5(mosq, nullptr, replies.constData(), 1, 0, nullptr);
    for (int i = 0; i < 20; ++i)
        mosquitto_loop(mosq, 10, 1);

    const QByteArray topic = base + "/1/title/set";
    QList<double> busFirst, directFirst, roundTrip;
    int lost = 0;
    QElapsedTimer clock;
    for (int i = 0; i < count; ++i) {
        const QByteArray title = "Bench " + QByteArray::number(i % 1000);
        // The frame velk-ctl writes for `title 1 TITLE`.
        clock.start();
        direct.write("/T\x01" + title + "\r");
        direct.flush(); // straight to the terminal, as the port's event loop would do next
        const qint64 directNs = firstByteNs(directFar, clock);

        answer.arrived = false;
        clock.start();
        publishRequest(mosq, topic, title, replies, i);
        const qint64 busNs = firstByteNs(bridgeFar, clock);
        QElapsedTimer waited;
        waited.start();
        while (!answer.arrived && waited.elapsed() < kLineTimeoutMs)
            mosquitto_loop(mosq, 1, 1);
        if (directNs < 0 || busNs < 0 || !answer.arrived) {
            ++lost;
            continue;
        }
        directFirst << directNs / 1000.0;
        busFirst << busNs / 1000.0;
        roundTrip << clock.nsecsElapsed() / 1000.0;
    }
    mosquitto_disconnect(mosq);
    mosquitto_destroy(mosq);
    mosquitto_lib_cleanup();

    out << "commands: " << busFirst.size() << " (" << lost << " without bytes or answer)\n"
        << "direct pty, write -> first byte:            " << figures(directFirst) << "\n"
        << "broker and bridge, publish -> first byte:   " << figures(busFirst) << "\n"
        << "medians' difference: "
        << QString::number((median(busFirst) - median(directFirst)) / 1000.0, 'f', 2) << " ms\n"
        << "request -> ok round trip:                   " << figures(roundTrip) << "\n";
    return lost == 0 ? 0 : 1;
}
