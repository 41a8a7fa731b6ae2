#pragma once

#include "controls/serialport.h"
#include "port/portdescriptions.h"
#include "port/portmapping.h"

#include <QObject>
#include <QSerialPort>
#include <memory>

namespace velk {

// The panel's serial port on QSerialPort. Writes never block the window; refusals and failures
// come back as descriptions an operator can act on; a port that vanishes while open is closed
// and reported once through the lost handler.
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT

public:
    explicit QtSerialPort(std::unique_ptr<PortMapping> mapping, QObject* parent = nullptr);
    // Hands what is still pending to the line before the port goes away, as close does but
    // without turning the event loop.
    ~QtSerialPort() override;

    int portNumber() const override { return m_portNumber; }
    bool setPortNumber(int number, QString* why) override;
    LineSettings settings() const override;
    bool setSettings(const LineSettings& settings, QString* why) override;

    bool isOpen() const override;
    QString open() override;
    qint64 close() override;
    bool output(const QByteArray& bytes) override;

    // The device the current port number reaches.
    QString device() const;

    // Where the open failures' descriptions tell the operator to pick another port.
    void setChooser(PortChooser chooser) { m_chooser = chooser; }

private:
    void handleError(QSerialPort::SerialPortError error);
    bool deviceVanished(QSerialPort::SerialPortError error) const;
    void finishLoss();
    // Waits in short slices while the line takes the pending bytes (see FlushWatch), turning the
    // event loop between slices when asked. Returns how many were left, now discarded.
    qint64 flushPending(bool turnEventLoop);
    // Bytes on their way: in QSerialPort's buffer and in the system's queue for the line.
    qint64 pendingBytes() const;
    QString describeOpenFailure(const QString& path) const;

    std::unique_ptr<PortMapping> m_mapping;
    QSerialPort m_port;
    int m_portNumber = 1;
    PortChooser m_chooser = PortChooser::Window;
    // The device vanished; the port closes on the next turn of the event loop.
    bool m_losing = false;
    // Pending bytes are draining before the port closes; it counts as closed already.
    bool m_closing = false;
};

} // namespace velk
