#include "serial/qtserialport.h"

#include "controls/logging.h"
#include "serial/portdescriptions.h"
#include "serial/portsettings.h"
#include "serial/systemportmapping.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTimer>
#include <cmath>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <unistd.h>
#endif

namespace velk {

namespace {

// Slack on top of the time the pending bytes need on the line, for the system's own latency.
constexpr qint64 kFlushMarginMs = 250;

} // namespace

QtSerialPort::QtSerialPort(std::unique_ptr<PortMapping> mapping, QObject* parent)
    : QObject(parent), m_mapping(std::move(mapping)) {
    const LineSettings initial;
    m_port.setBaudRate(initial.baudRate);
    m_port.setParity(initial.parity);
    m_port.setDataBits(initial.dataBits);
    m_port.setStopBits(initial.stopBits);
    m_port.setFlowControl(QSerialPort::NoFlowControl);

    // Nothing is ever read from the devices; draining the input keeps stray bytes from piling up.
    connect(&m_port, &QSerialPort::readyRead, this, [this] { m_port.readAll(); });
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::handleError);
}

QtSerialPort::~QtSerialPort() {
    disconnect(&m_port, nullptr, this, nullptr);
    if (m_port.isOpen()) {
        if (!m_losing)
            flushPending();
        m_port.close();
    }
}

bool QtSerialPort::setPortNumber(int number, QString* why) {
    if (isOpen())
        return refuse(why, portAlreadyOpenDescription());
    if (number < PortSettings::kFirstPort || number > PortSettings::kLastPort)
        return refuse(why, portNumberOutOfRangeDescription(number));
    m_portNumber = number;
    return true;
}

LineSettings QtSerialPort::settings() const {
    // Read back from QSerialPort, which keeps what the open port took (or will take at open).
    LineSettings held;
    held.baudRate = m_port.baudRate();
    held.parity = m_port.parity();
    held.dataBits = m_port.dataBits();
    held.stopBits = m_port.stopBits();
    return held;
}

bool QtSerialPort::setSettings(const LineSettings& requested, QString* why) {
    const auto refused = [&] {
        return refuse(why,
                      settingsRefusedDescription(device(), requested.text(), settings().text()));
    };
#ifdef Q_OS_UNIX
    // Terminals here know one or two stop bits only, and QSerialPort would quietly send one.
    if (requested.stopBits == QSerialPort::OneAndHalfStop)
        return refused();
#endif
    // A closed port just stores the values; an open one applies them to the line at once and
    // keeps its previous value for anything the device refuses.
    bool accepted = m_port.setBaudRate(requested.baudRate);
    accepted = m_port.setParity(requested.parity) && accepted;
    accepted = m_port.setDataBits(requested.dataBits) && accepted;
    accepted = m_port.setStopBits(requested.stopBits) && accepted;
    if (!accepted)
        return refused();
    return true;
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen() && !m_losing;
}

QString QtSerialPort::device() const {
    return m_mapping ? m_mapping->deviceFor(m_portNumber) : QString();
}

QString QtSerialPort::open() {
    if (isOpen())
        return portAlreadyOpenDescription();
    if (m_port.isOpen()) // a vanished device not yet closed
        m_port.close();
    m_losing = false;
    const QString path = device();
    if (path.isEmpty()) {
        return openFailureDescription(OpenFailure::NoSuchDevice,
                                      QStringLiteral("Comport %1").arg(m_portNumber), {},
                                      SystemPortMapping::presentPorts());
    }
    m_port.setPortName(path);
    // Read-write although nothing is read: only a watched input notices a vanished device.
    if (!m_port.open(QIODevice::ReadWrite))
        return describeOpenFailure(path);
    m_port.clear(QSerialPort::Input);
    return {};
}

void QtSerialPort::close() {
    if (!m_port.isOpen())
        return;
    if (!m_losing)
        flushPending();
    m_losing = false;
    m_port.close();
}

bool QtSerialPort::output(const QByteArray& bytes) {
    if (!isOpen())
        return false;
    return m_port.write(bytes) == bytes.size();
}

void QtSerialPort::handleError(QSerialPort::SerialPortError error) {
    // A failed open is reported to the operator by the caller; errors of an open port are not.
    if (!m_port.isOpen() || m_losing || error == QSerialPort::NoError)
        return;
    if (!deviceVanished(error)) {
        qCWarning(lcSerial).noquote()
            << "Comport" << m_portNumber << "(" + device() + "):" << m_port.errorString();
        return;
    }
    qCWarning(lcSerial).noquote() << "Comport" << m_portNumber
                                  << "(" + device() + ") vanished:" << m_port.errorString();
    // Closing inside QSerialPort's own notification is unsafe; close on the next turn instead.
    // Until then the port counts as closed, so writes fail quietly and nothing is reported twice.
    m_losing = true;
    QTimer::singleShot(0, this, &QtSerialPort::finishLoss);
}

bool QtSerialPort::deviceVanished(QSerialPort::SerialPortError error) const {
    if (error == QSerialPort::ResourceError)
        return true;
    if (error != QSerialPort::ReadError && error != QSerialPort::WriteError)
        return false;
#ifdef Q_OS_UNIX
    // A terminal whose device is gone is hung up: reads return nothing and poll reports it at
    // once, forever. A passing error on a live line shows no hang-up.
    pollfd watched{int(m_port.handle()), POLLOUT, 0};
    if (::poll(&watched, 1, 0) < 0)
        return true;
    return (watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return false;
#endif
}

void QtSerialPort::finishLoss() {
    if (!m_losing)
        return;
    m_losing = false;
    m_port.close();
    raiseLost();
}

void QtSerialPort::flushPending() {
    // Wait only as long as the pending bytes need at the current speed, so a stalled line can
    // delay closing by a bounded time but never hang the window.
    const qint64 pending = m_port.bytesToWrite();
    if (pending <= 0)
        return;
    LineSettings held;
    held.baudRate = qMax<qint32>(m_port.baudRate(), 1);
    held.parity = m_port.parity();
    held.dataBits = m_port.dataBits();
    held.stopBits = m_port.stopBits();
    const auto lineTimeMs =
        qint64(std::ceil(double(pending) * held.bitsPerCharacter() * 1000.0 / held.baudRate));
    const QDeadlineTimer deadline(lineTimeMs + kFlushMarginMs);
    while (m_port.bytesToWrite() > 0 && !m_losing && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(int(qMax<qint64>(deadline.remainingTime(), 1))))
            break;
    }
}

QString QtSerialPort::describeOpenFailure(const QString& path) const {
    const QStringList present = SystemPortMapping::presentPorts();
    const QString detail = m_port.errorString();
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return openFailureDescription(OpenFailure::NoSuchDevice, path, detail, present);
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        // Qt reports both a held port and a forbidden one as a permission error; the device
        // file itself tells which.
        if (QFileInfo::exists(path) &&
            ::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0)
            return openFailureDescription(OpenFailure::PermissionDenied, path, detail, present);
#endif
        return openFailureDescription(OpenFailure::Busy, path, detail, present);
    default:
#ifdef Q_OS_UNIX
        if (!QFileInfo::exists(path))
            return openFailureDescription(OpenFailure::NoSuchDevice, path, detail, present);
#endif
        return openFailureDescription(OpenFailure::Other, path, detail, present);
    }
}

} // namespace velk
