#include "port/qtserialport.h"

#include "controls/logging.h"
#include "port/flushwatch.h"
#include "port/outputqueue.h"
#include "port/portdescriptions.h"
#include "port/portloss.h"
#include "port/portsettings.h"
#include "port/systemportmapping.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace velk {

namespace {

// The longest the window waits for its turn while pending bytes drain.
constexpr int kFlushSliceMs = 20;

} // namespace

QtSerialPort::QtSerialPort(std::unique_ptr<PortMapping> mapping, QObject* parent)
    : QObject(parent), m_mapping(std::move(mapping)) {
    m_flushTimer.setSingleShot(true);
    connect(&m_flushTimer, &QTimer::timeout, this, &QtSerialPort::watchFlush);
    renewPort(LineSettings());
}

QtSerialPort::QtSerialPort(const LineName& start, std::unique_ptr<PortMapping> system,
                           QObject* parent)
    : QtSerialPort(start.mapping(std::move(system)), parent) {
    m_portNumber = start.number;
    if (start.kind == LineName::Kind::Device)
        m_device = start;
}

void QtSerialPort::renewPort(const LineSettings& held) {
    m_port = std::make_unique<QSerialPort>();
    m_port->setBaudRate(held.baudRate);
    m_port->setParity(held.parity);
    m_port->setDataBits(held.dataBits);
    m_port->setStopBits(held.stopBits);
    m_port->setFlowControl(QSerialPort::NoFlowControl);

    // Nothing is ever read from the devices; draining the input keeps stray bytes from piling up.
    connect(m_port.get(), &QSerialPort::readyRead, this, [this] { m_port->readAll(); });
    connect(m_port.get(), &QSerialPort::errorOccurred, this, &QtSerialPort::handleError);
}

QtSerialPort::~QtSerialPort() {
    disconnect(m_port.get(), nullptr, this, nullptr);
    if (m_port->isOpen()) {
        if (!m_losing)
            drainBlocking();
        m_port->close();
    }
}

LineName QtSerialPort::name() const {
    if (m_device && m_device->number == m_portNumber)
        return *m_device;
    return LineName::comport(m_portNumber);
}

bool QtSerialPort::setName(const LineName& name, QString* why) {
    if (name.isNetwork() || (name.kind == LineName::Kind::Device && name != m_device))
        return refuse(why,
                      QStringLiteral("%1: this port reaches serial lines only").arg(name.text()));
    if (const QString refusal = portNumberRefusal(name.number, isOpen()); !refusal.isEmpty())
        return refuse(why, refusal);
    m_portNumber = name.number;
    return true;
}

LineSettings QtSerialPort::settings() const {
    // Read back from QSerialPort, which keeps what the open port took (or will take at open).
    LineSettings held;
    held.baudRate = m_port->baudRate();
    held.parity = m_port->parity();
    held.dataBits = m_port->dataBits();
    held.stopBits = m_port->stopBits();
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
    bool accepted = m_port->setBaudRate(requested.baudRate);
    accepted = m_port->setParity(requested.parity) && accepted;
    accepted = m_port->setDataBits(requested.dataBits) && accepted;
    accepted = m_port->setStopBits(requested.stopBits) && accepted;
    if (!accepted)
        return refused();
    return true;
}

bool QtSerialPort::isOpen() const {
    return m_port->isOpen() && !m_losing && !m_closing;
}

QString QtSerialPort::device() const {
    return m_mapping ? m_mapping->deviceFor(m_portNumber) : QString();
}

void QtSerialPort::open(Opened opened) {
    if (isOpen())
        return opened(portAlreadyOpenDescription());
    // Comport n is looked up here, once per CONNECT: a reopen after a loss keeps this device
    // even when the system's list of ports changes while it is away.
    m_resolved = device();
    if (m_resolved.isEmpty()) {
        return opened(openFailureDescription(OpenFailure::NoSuchDevice,
                                             QStringLiteral("Comport %1").arg(m_portNumber), {},
                                             SystemPortMapping::presentPorts(), m_chooser));
    }
    opened(openDevice(m_resolved, true));
}

void QtSerialPort::reopen(Opened opened) {
    if (isOpen())
        return opened(portAlreadyOpenDescription());
    if (m_resolved.isEmpty())
        return open(std::move(opened));
    opened(openDevice(m_resolved, false));
}

QString QtSerialPort::openDevice(const QString& path, bool seek) {
    if (m_closing) { // reopened while draining: what is left goes, the operator asked anew
        const qint64 unsent = finishClose();
        if (Closed closed = std::exchange(m_closed, {}))
            closed(unsent);
    }
    if (m_port->isOpen()) // a vanished device not yet closed
        m_port->close();
    // A closed port holds nothing to send, but Qt's Windows backend keeps the chunk of a write
    // the device never finished and counts it as pending in every later open: the line would
    // look stalled and a close would wait for bytes that are not there. A fresh port has none.
    if (m_port->bytesToWrite() > 0)
        renewPort(settings());
    m_losing = false;
    const QString held = DeviceLock::canonical(path);
    if (m_lock.acquire(held) == DeviceLock::Outcome::Busy)
        return openFailureDescription(OpenFailure::Busy, path, {}, {}, m_chooser);
    m_port->setPortName(held);
    // Read-write although nothing is read: only a watched input notices a vanished device.
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_lock.release();
        return describeOpenFailure(path, seek);
    }
    m_port->clear(QSerialPort::Input);
    return {};
}

void QtSerialPort::close(Closed closed) {
    if (m_closing) { // already draining: the caller hears when it is over
        m_closed = [first = std::move(m_closed), closed = std::move(closed)](qint64 unsent) {
            if (first)
                first(unsent);
            if (closed)
                closed(unsent);
        };
        return;
    }
    if (!m_port->isOpen() || m_losing) {
        m_losing = false;
        m_port->close();
        m_lock.release();
        if (closed)
            closed(0);
        return;
    }
    // Closed to the panel from here on: a tick meanwhile adds nothing to the queue.
    m_closing = true;
    m_closed = std::move(closed);
    m_flushWatch = std::make_unique<FlushWatch>(flushWatch());
    m_flushClock.start();
    watchFlush();
}

void QtSerialPort::watchFlush() {
    if (!m_closing)
        return;
    if (!m_losing && m_flushWatch->keepWaiting(m_flushClock.elapsed(), pendingBytes())) {
        m_flushTimer.start(kFlushSliceMs);
        return;
    }
    const qint64 unsent = finishClose();
    if (Closed closed = std::exchange(m_closed, {}))
        closed(unsent);
}

qint64 QtSerialPort::finishClose() {
    m_flushTimer.stop();
    m_closing = false;
    m_flushWatch.reset();
    // What the line would not take is dropped, so closing does not wait in the system for it.
    const qint64 unsent = m_port->isOpen() ? discardPending() : 0;
    m_losing = false;
    m_port->close();
    m_lock.release();
    return unsent;
}

bool QtSerialPort::output(const QByteArray& bytes) {
    if (!isOpen())
        return false;
    return m_port->write(bytes) == bytes.size();
}

void QtSerialPort::handleError(QSerialPort::SerialPortError error) {
    // A failed open is reported to the operator by the caller; errors of an open port are not.
    if (!m_port->isOpen() || m_losing || error == QSerialPort::NoError)
        return;
    if (!deviceVanished(error)) {
        qCWarning(lcSerial).noquote()
            << "Comport" << m_portNumber << "(" + m_resolved + "):" << m_port->errorString();
        return;
    }
    // The system's error text here is whatever the last failed call left, which says nothing
    // about the cause.
    qCWarning(lcSerial).noquote() << "Comport" << m_portNumber << "(" + m_resolved + "):"
                                  << "the device was disconnected";
    // Closing inside QSerialPort's own notification is unsafe; close on the next turn instead.
    // Until then the port counts as closed, so writes fail quietly and nothing is reported twice.
    m_losing = true;
    QTimer::singleShot(0, this, &QtSerialPort::finishLoss);
}

bool QtSerialPort::deviceVanished(QSerialPort::SerialPortError error) const {
    switch (portloss::classify(error, m_port->errorString())) {
    case portloss::Verdict::Lost:
        return true;
    case portloss::Verdict::AskTheLine:
        return portloss::hungUp(*m_port);
    case portloss::Verdict::Alive:
        break;
    }
    return false;
}

void QtSerialPort::finishLoss() {
    if (!m_losing)
        return;
    m_losing = false;
    m_port->close();
    raiseLost();
}

qint64 QtSerialPort::pendingBytes() const {
    if (!m_port->isOpen())
        return 0;
    return m_port->bytesToWrite() + systemOutputQueue(*m_port);
}

qint64 QtSerialPort::discardPending() {
    const qint64 pending = pendingBytes();
    if (pending > 0)
        m_port->clear(QSerialPort::Output);
    return pending;
}

FlushWatch QtSerialPort::flushWatch() const {
    LineSettings held = settings();
    held.baudRate = qMax<qint32>(held.baudRate, 1);
    return FlushWatch(pendingBytes(), held.bitsPerCharacter() * 1000.0 / held.baudRate);
}

void QtSerialPort::drainBlocking() {
    FlushWatch watch = flushWatch();
    QElapsedTimer waited;
    waited.start();
    while (watch.keepWaiting(waited.elapsed(), pendingBytes())) {
        if (m_port->bytesToWrite() > 0)
            m_port->waitForBytesWritten(kFlushSliceMs);
        else // only the system's queue is left; it drains by itself
            QThread::msleep(kFlushSliceMs);
    }
    discardPending();
}

QString QtSerialPort::describeOpenFailure(const QString& path, bool seek) const {
    // Listing the ports walks the system's device tree: worth it for the operator's message,
    // not for each quiet retry while a device is away.
    const QStringList present = seek ? SystemPortMapping::presentPorts() : QStringList();
    const QString detail = m_port->errorString();
    switch (m_port->error()) {
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
