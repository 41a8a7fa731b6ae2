#pragma once

#include "port/devicelock.h"
#include "port/flushwatch.h"
#include "port/line.h"
#include "port/linename.h"
#include "port/portdescriptions.h"
#include "port/portmapping.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <memory>
#include <optional>

namespace velk {

// The panel's serial port on QSerialPort. Writes never block the window; refusals and failures
// come back as descriptions an operator can act on; a port that vanishes while open is closed
// and reported once through the lost handler.
class QtSerialPort : public QObject, public Line {
    Q_OBJECT

public:
    // Reaches Comport n through `mapping`.
    explicit QtSerialPort(std::unique_ptr<PortMapping> mapping, QObject* parent = nullptr);
    // Reaches `start` (Comport n or a device, which counts as its Comport) through `system`.
    QtSerialPort(const LineName& start, std::unique_ptr<PortMapping> system,
                 QObject* parent = nullptr);
    // Hands what is still pending to the line before the port goes away, bounded as close is,
    // waiting without an event loop (it may have ended already).
    ~QtSerialPort() override;

    LineName name() const override;
    // Comport 1-16, or the device this port was made for; never a device server.
    bool setName(const LineName& name, QString* why) override;
    LineSettings settings() const override;
    bool setSettings(const LineSettings& settings, QString* why) override;

    bool isOpen() const override;
    void open(Opened opened) override;
    void reopen(Opened opened) override;
    void close(Closed closed = {}) override;
    bool output(const QByteArray& bytes) override;
    qint64 pendingBytes() const override;
    bool canWithdraw() const override { return true; }
    qint64 discardPending() override;

    // The device the current port number reaches, as the system's port list says now.
    QString device() const;

    // Where the open failures' descriptions tell the operator to pick another port.
    void setChooser(PortChooser chooser) { m_chooser = chooser; }

private:
    // A new QSerialPort with the given line settings, wired to this port.
    void renewPort(const LineSettings& held);
    void handleError(QSerialPort::SerialPortError error);
    bool deviceVanished(QSerialPort::SerialPortError error) const;
    void finishLoss();
    // Opens `path`, found by open() or kept from it. `seek`: a failure lists the ports present.
    QString openDevice(const QString& path, bool seek);
    // One look at the draining bytes while closing (see FlushWatch); closes once it is over.
    void watchFlush();
    qint64 finishClose();
    // Closing without an event loop, on the way out: waits in slices, bounded as close() is.
    void drainBlocking();
    FlushWatch flushWatch() const;
    QString describeOpenFailure(const QString& path, bool seek) const;

    std::unique_ptr<PortMapping> m_mapping;
    std::unique_ptr<QSerialPort> m_port;
    int m_portNumber = 1;
    // The device the port was made for, reached as its Comport number.
    std::optional<LineName> m_device;
    // The device the last open() reached; reopen() tries it again.
    QString m_resolved;
    DeviceLock m_lock;
    QTimer m_flushTimer;
    QElapsedTimer m_flushClock;
    std::unique_ptr<FlushWatch> m_flushWatch;
    Closed m_closed;
    PortChooser m_chooser = PortChooser::Window;
    // The device vanished; the port closes on the next turn of the event loop.
    bool m_losing = false;
    // Pending bytes are draining before the port closes; it counts as closed already.
    bool m_closing = false;
};

} // namespace velk
