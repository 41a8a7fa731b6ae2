#pragma once

#include "port/line.h"

#include <functional>
#include <memory>

namespace velk {

// The panel's one port, which the settings can move between a serial line and a device server
// on the network while it is closed. Every call goes to the port of the current line; each kind
// of port is made when first needed and the serial one is kept, so a device given at start is
// still the one reached after a trip to the network.
class LinePort : public Line {
public:
    // Makes the port that reaches `name`; nothing, with a one-line `why`, where it cannot.
    using Factory = std::function<std::unique_ptr<Line>(const LineName& name, QString* why)>;

    // The port reaching `start` first; nothing, with `why`, where that line cannot be made.
    static std::unique_ptr<LinePort> create(const LineName& start, Factory make, QString* why);
    ~LinePort() override;

    LineName name() const override { return current().name(); }
    // Any line: a device server while closed, or a serial line, reached by the serial port
    // kept from before.
    bool setName(const LineName& name, QString* why) override;
    LineSettings settings() const override { return current().settings(); }
    bool setSettings(const LineSettings& settings, QString* why) override;

    bool isOpen() const override { return current().isOpen(); }
    void open(Opened opened) override { current().open(std::move(opened)); }
    void reopen(Opened opened) override { current().reopen(std::move(opened)); }
    void close(Closed closed = {}) override { current().close(std::move(closed)); }
    bool output(const QByteArray& bytes) override { return current().output(bytes); }
    qint64 pendingBytes() const override { return current().pendingBytes(); }
    bool canWithdraw() const override { return current().canWithdraw(); }
    qint64 discardPending() override { return current().discardPending(); }

private:
    explicit LinePort(Factory make) : m_make(std::move(make)) {}
    Line& current() const { return m_network ? *m_network : *m_serial; }
    // Makes the port for `name`, reporting its losses as this port's own.
    std::unique_ptr<Line> make(const LineName& name, QString* why);

    Factory m_make;
    std::unique_ptr<Line> m_serial;
    std::unique_ptr<Line> m_network; // set while the line is a network one
};

} // namespace velk
