#include "monitor.h"

#include "bus/busframes.h"
#include "monitor/lineformat.h"
#include "port/lineports.h"
#include "port/systemportmapping.h"

namespace velk {

namespace {
// Noise outside any frame is held until the next start byte, but never longer than this, so it
// does not wait unseen on a quiet line nor on one that carries nothing else.
constexpr int kNoiseHeldMs = 100;
} // namespace

Monitor::Monitor(MonitorOptions options, QTextStream& out, QTextStream& err, Now now)
    : m_options(std::move(options)), m_out(out), m_err(err), m_now(std::move(now)),
      m_port(std::make_unique<QSerialPort>()) {
    m_noiseDue.setSingleShot(true);
    m_noiseDue.setInterval(kNoiseHeldMs);
    connect(&m_noiseDue, &QTimer::timeout, this, [this] { print(m_decoder.flushNoise()); });
}

QString Monitor::start() {
    const LineSettings& line = m_options.line;
    if (m_options.lineName.isBus()) {
        watchBus();
        m_err << "velk-monitor: reading the frames of " << m_options.lineName.text()
              << " (read-only)" << Qt::endl;
        return QString();
    }
    if (m_options.lineName.isNetwork()) {
        QString why;
        m_tap = openNetworkTap(m_options.lineName, line, &why);
        if (!m_tap)
            return why;
        connect(m_tap.get(), &QIODevice::readyRead, this, &Monitor::readLine);
        connect(m_tap.get(), &QIODevice::readChannelFinished, this, [this] {
            if (m_stopped)
                return;
            m_err << "velk-monitor: " << m_options.device
                  << " closed the connection; monitoring ended." << Qt::endl;
            stop();
        });
    } else if (const QString failure = openSerial(); !failure.isEmpty()) {
        return failure;
    }
    m_err << "velk-monitor: reading " << m_options.device << " at " << line.text() << " (read-only)"
          << Qt::endl;
    return QString();
}

QString Monitor::openSerial() {
    const LineSettings& line = m_options.line;
    // A bare name such as ttyUSB0 or COM3 is the system's port name; a path was made absolute
    // when the name was read; a Comport number reaches the device the panel would open.
    const LineName& name = m_options.lineName;
    const QString device = name.kind == LineName::Kind::Comport
                               ? SystemPortMapping().deviceFor(name.number)
                               : name.device;
    m_port->setPortName(device);
    if (!m_port->open(QIODevice::ReadOnly)) {
        QString named = device;
#ifdef Q_OS_UNIX
        if (!device.contains(QLatin1Char('/')))
            named += QStringLiteral(" (/dev/%1)").arg(device);
#endif
        return QStringLiteral("cannot open %1: %2").arg(named, m_port->errorString());
    }
    const bool configured = m_port->setBaudRate(line.baudRate) && m_port->setParity(line.parity) &&
                            m_port->setDataBits(line.dataBits) &&
                            m_port->setStopBits(line.stopBits) &&
                            m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        const QString why = m_port->errorString();
        m_port->close();
        return QStringLiteral("cannot set %1 to %2: %3").arg(m_options.device, line.text(), why);
    }
    connect(m_port.get(), &QSerialPort::readyRead, this, &Monitor::readLine);
    connect(m_port.get(), &QSerialPort::errorOccurred, this, &Monitor::portFailed);
    return QString();
}

void Monitor::watchBus() {
    m_busTap = watchBusFrames(
        m_options.lineName, m_options.access,
        [this](const QByteArray& frame) {
            if (m_stopped)
                return;
            print(m_decoder.feed(frame));
            // Each message is one whole frame: nothing is left to wait for.
            print(m_decoder.flushNoise());
        },
        [this](const QString& why) {
            if (m_stopped)
                return;
            m_err << "velk-monitor: " << why << Qt::endl;
            m_exitStatus = 1;
            // The broker's client is still inside its own notification.
            QMetaObject::invokeMethod(this, &Monitor::stop, Qt::QueuedConnection);
        });
}

void Monitor::stop() {
    if (m_stopped)
        return;
    m_stopped = true;
    m_noiseDue.stop();
    if (m_busTap) {
        m_busTap.release()->deleteLater();
    } else if (input().isOpen()) {
        readLine();
        input().close();
    }
    print(m_decoder.finish());
    if (m_options.summary) {
        for (const QString& line : m_summary.lines())
            m_out << line << Qt::endl;
    }
    emit finished();
}

void Monitor::readLine() {
    const QByteArray bytes = input().readAll();
    if (bytes.isEmpty())
        return;
    print(m_decoder.feed(bytes));
    // Counted from the first byte held, not restarted by later ones.
    if (m_decoder.holdsNoise() && !m_noiseDue.isActive())
        m_noiseDue.start();
}

void Monitor::portFailed(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || m_stopped)
        return;
    // Timeouts only concern blocking calls, which the monitor does not make.
    if (error == QSerialPort::TimeoutError)
        return;
    // A read that fails on a terminal means it hung up: the adapter was unplugged or the other
    // end went away. The system's error text then is a stale one that would only mislead.
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
        m_err << "velk-monitor: " << m_options.device << " was disconnected; monitoring ended."
              << Qt::endl;
    else
        m_err << "velk-monitor: " << m_options.device << " is unreadable (" << m_port->errorString()
              << ")" << Qt::endl;
    stop();
}

void Monitor::print(const std::vector<LineEvent>& events) {
    if (events.empty())
        return;
    const QTime now = m_now();
    for (const LineEvent& event : events) {
        m_summary.apply(event);
        m_out << formatLine(now, event) << Qt::endl;
    }
}

} // namespace velk
