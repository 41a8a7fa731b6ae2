#pragma once

#include "controls/serialport.h"
#include "port/linename.h"

#include <functional>
#include <memory>

namespace velk {

// The panel's one port, which the settings can move between a serial line and a device server
// on the network while it is closed. Every call goes to the port of the current line; each kind
// of port is made when first needed and the serial one is kept, so a device given at start is
// still the one reached after a trip to the network.
class LinePort : public SerialPort {
public:
    // Makes the port that reaches `name`; nothing, with a one-line `why`, where it cannot.
    using Factory = std::function<std::unique_ptr<SerialPort>(const LineName& name, QString* why)>;

    // The port reaching `start` first; nothing, with `why`, where that line cannot be made.
    static std::unique_ptr<LinePort> create(const LineName& start, Factory make, QString* why);
    ~LinePort() override;

    QString networkLine() const override;
    bool setNetworkLine(const QString& url, QString* why) override;

    int portNumber() const override { return current().portNumber(); }
    bool setPortNumber(int number, QString* why) override;
    QString lineLabel() const override { return current().lineLabel(); }
    LineSettings settings() const override { return current().settings(); }
    bool setSettings(const LineSettings& settings, QString* why) override;

    bool isOpen() const override { return current().isOpen(); }
    void open(Opened opened) override { current().open(std::move(opened)); }
    void reopen(Opened opened) override { current().reopen(std::move(opened)); }
    void close(Closed closed = {}) override { current().close(std::move(closed)); }
    bool output(const QByteArray& bytes) override { return current().output(bytes); }
    qint64 pendingBytes() const override { return current().pendingBytes(); }
    qint64 discardPending() override { return current().discardPending(); }

private:
    explicit LinePort(Factory make) : m_make(std::move(make)) {}
    SerialPort& current() const { return m_network ? *m_network : *m_serial; }
    // Makes the port for `name`, reporting its losses as this port's own.
    std::unique_ptr<SerialPort> make(const LineName& name, QString* why);

    Factory m_make;
    std::unique_ptr<SerialPort> m_serial;
    std::unique_ptr<SerialPort> m_network; // set while the line is a network one
    LineName m_networkName;
};

} // namespace velk
