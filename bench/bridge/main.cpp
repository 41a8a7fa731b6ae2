// Publishes title commands to a running `velk-ctl bridge` and times each from the publish to the
// first byte at the far end of its line, one command at a time.
// Usage: bench-bridge PORT USER PASSWORD BASE FAR_END COUNT

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QTextStream>

#include <algorithm>
#include <fcntl.h>
#include <mosquitto.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kLineTimeoutMs = 2000;

// Reads the rest of a title frame (up to its carriage return) so the next one starts clean.
bool readFrame(int fd, bool& sawFirst, qint64& firstNs, const QElapsedTimer& clock) {
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, kLineTimeoutMs) <= 0)
            return false;
        char bytes[64];
        const ssize_t got = ::read(fd, bytes, sizeof bytes);
        if (got <= 0)
            continue;
        if (!sawFirst) {
            firstNs = clock.nsecsElapsed();
            sawFirst = true;
        }
        if (std::find(bytes, bytes + got, '\r') != bytes + got)
            return true;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QTextStream out(stdout);
    if (argc != 7) {
        QTextStream(stderr) << "usage: bench-bridge PORT USER PASSWORD BASE FAR_END COUNT\n";
        return 2;
    }
    const int port = atoi(argv[1]);
    const QByteArray topic = QByteArray(argv[4]) + "/1/title/set";
    const int count = atoi(argv[6]);
    const int far = ::open(argv[5], O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios raw{};
    if (far < 0 || ::tcgetattr(far, &raw) != 0)
        return 1;
    ::cfmakeraw(&raw);
    ::tcsetattr(far, TCSANOW, &raw);

    mosquitto_lib_init();
    mosquitto* mosq = mosquitto_new(nullptr, true, nullptr);
    mosquitto_username_pw_set(mosq, argv[2], argv[3]);
    // Each command goes out at once, as a building system's client would send it.
    mosquitto_int_option(mosq, MOSQ_OPT_TCP_NODELAY, 1);
    if (mosquitto_connect(mosq, "127.0.0.1", port, 30) != MOSQ_ERR_SUCCESS)
        return 1;
    mosquitto_loop(mosq, 100, 1);

    QList<double> micros;
    int lost = 0;
    QElapsedTimer clock;
    for (int i = 0; i < count; ++i) {
        const QByteArray title = "Bench " + QByteArray::number(i % 1000);
        clock.start();
        mosquitto_publish(mosq, nullptr, topic.constData(), int(title.size()), title.constData(), 0,
                          false);
        mosquitto_loop_write(mosq, 1);
        bool sawFirst = false;
        qint64 firstNs = 0;
        if (!readFrame(far, sawFirst, firstNs, clock) || !sawFirst) {
            ++lost;
            continue;
        }
        micros.append(firstNs / 1000.0);
        mosquitto_loop(mosq, 0, 1); // keeps the connection alive, answers nothing else
    }
    mosquitto_disconnect(mosq);
    mosquitto_destroy(mosq);
    mosquitto_lib_cleanup();

    std::sort(micros.begin(), micros.end());
    if (micros.isEmpty()) {
        out << "no command reached the line\n";
        return 1;
    }
    const auto at = [&](double share) { return micros.at(int(share * (micros.size() - 1))); };
    out << Qt::fixed << qSetRealNumberPrecision(0) << "publish -> first byte on the line, "
        << micros.size() << " commands (" << lost << " without bytes): min " << micros.first()
        << " us, median " << at(0.5) << " us, p95 " << at(0.95) << " us, max " << micros.last()
        << " us\n";
    return lost == 0 ? 0 : 1;
}
