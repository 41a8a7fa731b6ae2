#include "port/qtserialport.h"

#include "controls/logging.h"
#include "port/flushwatch.h"
#include "port/outputqueue.h"
#include "port/portdescriptions.h"
#include "port/portsettings.h"
#include "port/systemportmapping.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <unistd.h>
#endif

namespace velk {

namespace {

// The longest the window waits for its turn while pending bytes drain.
constexpr int kFlushSliceMs = 20;

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
            flushPending(false);
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
    return m_port.isOpen() && !m_losing && !m_closing;
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
                                      SystemPortMapping::presentPorts(), m_chooser);
    }
    m_port.setPortName(path);
    // Read-write although nothing is read: only a watched input notices a vanished device.
    if (!m_port.open(QIODevice::ReadWrite))
        return describeOpenFailure(path);
    m_port.clear(QSerialPort::Input);
    return {};
}

qint64 QtSerialPort::close() {
    if (!m_port.isOpen())
        return 0;
    qint64 unsent = 0;
    if (!m_losing && !m_closing) {
        // Closed to the panel from here on: a tick meanwhile adds nothing to the queue.
        m_closing = true;
        unsent = flushPending(true);
        m_closing = false;
    }
    m_losing = false;
    m_port.close();
    return unsent;
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
    // The system's error text here is whatever the last failed call left, which says nothing
    // about the cause.
    qCWarning(lcSerial).noquote() << "Comport" << m_portNumber << "(" + device() + "):"
                                  << "the device was disconnected";
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

qint64 QtSerialPort::pendingBytes() const {
    if (!m_port.isOpen())
        return 0;
    return m_port.bytesToWrite() + systemOutputQueue(m_port);
}

qint64 QtSerialPort::flushPending(bool turnEventLoop) {
    qint64 pending = pendingBytes();
    if (pending <= 0)
        return 0;
    LineSettings held;
    held.baudRate = qMax<qint32>(m_port.baudRate(), 1);
    held.parity = m_port.parity();
    held.dataBits = m_port.dataBits();
    held.stopBits = m_port.stopBits();
    FlushWatch watch(pending, held.bitsPerCharacter() * 1000.0 / held.baudRate);
    QElapsedTimer waited;
    waited.start();
    while (!m_losing && watch.keepWaiting(waited.elapsed(), pending)) {
        if (m_port.bytesToWrite() > 0)
            m_port.waitForBytesWritten(kFlushSliceMs);
        else // only the system's queue is left; it drains by itself
            QThread::msleep(kFlushSliceMs);
        // Paint and tick between slices; the operator's clicks wait until the port is closed.
        if (turnEventLoop)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        pending = pendingBytes();
    }
    // What the line would not take is dropped, so closing does not wait in the system for it.
    if (pending > 0 && m_port.isOpen())
        m_port.clear(QSerialPort::Output);
    return qMax<qint64>(pending, 0);
}

QString QtSerialPort::describeOpenFailure(const QString& path) const {
    const QStringList present = SystemPortMapping::presentPorts();
    const QString detail = m_port.errorString();
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return openFailureDescription(OpenFailure::NoSuchDevice, path, detail, present, m_chooser);
    case QSerialPort::ResourceError:
        // Opening reports EIO so: typically a port name without a working device behind it.
        return openFailureDescription(OpenFailure::NotResponding, path, detail, present, m_chooser);
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        // Qt reports both a held port and a forbidden one as a permission error; the device
        // file itself tells which.
        if (QFileInfo::exists(path) &&
            ::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0)
            return openFailureDescription(OpenFailure::PermissionDenied, path, detail, present,
                                          m_chooser);
#endif
        return openFailureDescription(OpenFailure::Busy, path, detail, present, m_chooser);
    default:
#ifdef Q_OS_UNIX
        if (!QFileInfo::exists(path))
            return openFailureDescription(OpenFailure::NoSuchDevice, path, detail, present,
                                          m_chooser);
#endif
        return openFailureDescription(OpenFailure::Other, path, detail, present, m_chooser);
    }
}

} // namespace velk
