// Times a Send click to the first byte at the far end of the line, against a plain QSerialPort
// write of the same bytes to a line of the same kind. Both lines are socat pty pairs; the far
// ends are read here with poll() while the event loop keeps turning, so that the ports write.
// Samples of the two alternate, so drifting load on the machine hits both alike.
//
//   bench-latency PANEL_NEAR PANEL_FAR PLAIN_NEAR PLAIN_FAR [N]

#include "app/panel.h"
#include "controls/localclock.h"
#include "port/line.h"
#include "port/lineports.h"
#include "port/pinnedportmapping.h"
#include "port/qtserialport.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kDefaultSamples = 200;
constexpr int kWarmUp = 10;
constexpr qint64 kTimeoutUs = 2000000;
// Between samples, so that one sample's leftovers (socat, the tick) do not run into the next.
constexpr int kPauseMs = 10;

qint64 monotonicMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// The far end of a line, read without a terminal's line discipline getting in the way.
class FarEnd {
public:
    explicit FarEnd(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK)) {
        termios raw{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(m_fd, TCSANOW, &raw);
        }
    }
    ~FarEnd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool hasData() const {
        pollfd watched{m_fd, POLLIN, 0};
        return ::poll(&watched, 1, 0) > 0 && (watched.revents & POLLIN);
    }

    // Turns the event loop until a byte is waiting; the monotonic time it was seen, if it came.
    std::optional<qint64> awaitFirstByte() const {
        const qint64 deadline = monotonicMicros() + kTimeoutUs;
        while (true) {
            QCoreApplication::processEvents();
            if (hasData())
                return monotonicMicros();
            if (monotonicMicros() > deadline)
                return std::nullopt;
        }
    }

    // Reads until `count` bytes are in, or until `quietMs` pass without one when count is 0.
    QByteArray read(int count, int quietMs) const {
        QByteArray data;
        while (count == 0 || data.size() < count) {
            QCoreApplication::processEvents();
            pollfd watched{m_fd, POLLIN, 0};
            if (::poll(&watched, 1, quietMs) <= 0)
                break;
            char buffer[256];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            data.append(buffer, int(got));
        }
        return data;
    }

private:
    int m_fd;
};

void pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Figures {
    double min, median, p95, max;
};

Figures figures(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    // Nearest rank.
    const std::size_t rank95 = std::size_t(std::ceil(0.95 * double(n)));
    return {values.front(), median, values[std::max<std::size_t>(rank95, 1) - 1], values.back()};
}

void printRow(const char* name, const Figures& f) {
    std::printf("  %-34s %8.1f %8.1f %8.1f %8.1f\n", name, f.min, f.median, f.p95, f.max);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int samples = kDefaultSamples;
    bool countOk = true;
    if (argc == 6)
        samples = QByteArray(argv[5]).toInt(&countOk);
    if ((argc != 5 && argc != 6) || !countOk || samples <= 0) {
        std::fprintf(stderr,
                     "usage: bench-latency PANEL_NEAR PANEL_FAR PLAIN_NEAR PLAIN_FAR [N]\n");
        return 2;
    }

    velk::SystemClock clock;
    // PANEL_NEAR names the panel's line as --port does: a pty's path, or a device server's URL
    // serving PANEL_FAR's pair.
    const QString panelLine = QString::fromLocal8Bit(argv[1]);
    std::unique_ptr<velk::Line> port;
    if (panelLine.contains(QLatin1String("://"))) {
        QString why;
        const std::optional<velk::LineName> name = velk::LineName::parse(panelLine, &why);
        port = name ? velk::makeLine(*name, nullptr, &why) : nullptr;
        if (!port) {
            std::fprintf(stderr, "bench-latency: %s\n", qPrintable(why));
            return 2;
        }
    } else {
        port = std::make_unique<velk::QtSerialPort>(
            std::make_unique<velk::PinnedPortMapping>(panelLine, 1, nullptr));
    }
    velk::Panel panel(std::move(port), clock);
    panel.load();
    panel.start();
    FarEnd panelFar(QString::fromLocal8Bit(argv[2]));
    auto* connectButton = panel.window().findChild<QAbstractButton*>(QStringLiteral("CmdMenu(0)"));
    auto* send = panel.window().findChild<QAbstractButton*>(QStringLiteral("Command2"));
    if (connectButton)
        connectButton->click();
    // A network line opens from the event loop: connect and negotiation.
    QElapsedTimer opening;
    opening.start();
    while (!panel.port().isOpen() && opening.elapsed() < 6000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!connectButton || !send || !panel.port().isOpen() || !panelFar.isOpen()) {
        std::fprintf(stderr, "bench-latency: the panel's line did not open\n");
        return 1;
    }

    // The same port settings the panel opens with.
    QSerialPort plain(QString::fromLocal8Bit(argv[3]));
    FarEnd plainFar(QString::fromLocal8Bit(argv[4]));
    if (!plain.open(QIODevice::ReadWrite) || !plainFar.isOpen()) {
        std::fprintf(stderr, "bench-latency: the plain line did not open\n");
        return 1;
    }
    plain.setBaudRate(QSerialPort::Baud9600);
    plain.setParity(QSerialPort::NoParity);
    plain.setDataBits(QSerialPort::Data8);
    plain.setStopBits(QSerialPort::OneStop);
    plain.setFlowControl(QSerialPort::NoFlowControl);

    // The frame Send writes, learnt from the first click, so the plain write sends the same.
    QByteArray frame;
    std::vector<double> panelUs;
    std::vector<double> plainUs;
    const auto samplePanel = [&](bool keep) {
        const qint64 clicked = monotonicMicros();
        send->click();
        const std::optional<qint64> arrived = panelFar.awaitFirstByte();
        if (!arrived)
            return false;
        const QByteArray bytes = panelFar.read(frame.isEmpty() ? 0 : int(frame.size()), 100);
        if (frame.isEmpty())
            frame = bytes;
        if (keep)
            panelUs.push_back(double(*arrived - clicked));
        return bytes == frame;
    };
    const auto samplePlain = [&](bool keep) {
        const qint64 written = monotonicMicros();
        plain.write(frame);
        const std::optional<qint64> arrived = plainFar.awaitFirstByte();
        if (!arrived)
            return false;
        const QByteArray bytes = plainFar.read(int(frame.size()), 100);
        if (keep)
            plainUs.push_back(double(*arrived - written));
        return bytes == frame;
    };

    for (int round = 0; round < kWarmUp + samples; ++round) {
        const bool keep = round >= kWarmUp;
        // Alternating which goes first keeps any after-effect of one off the other.
        const bool ok = round % 2 ? samplePlain(keep) && samplePanel(keep)
                                  : samplePanel(keep) && samplePlain(keep);
        if (!ok) {
            std::fprintf(stderr, "bench-latency: bytes lost or changed in round %d\n", round);
            return 1;
        }
        pause(kPauseMs);
    }

    const Figures panelFigures = figures(panelUs);
    const Figures plainFigures = figures(plainUs);
    std::printf("first byte at the far end, %d samples each after %d warm-up rounds, %lld-byte "
                "frame, microseconds\n",
                samples, kWarmUp, static_cast<long long>(frame.size()));
    std::printf("  %-34s %8s %8s %8s %8s\n", "", "min", "median", "p95", "max");
    printRow(panelLine.contains(QLatin1String("://")) ? "Send click, panel, rfc2217://"
                                                      : "Send click (Command2), panel",
             panelFigures);
    printRow("baseline: QSerialPort::write", plainFigures);
    std::printf("ratio of medians, panel / baseline: %.2f\n",
                panelFigures.median / plainFigures.median);
    return 0;
}
