#pragma once

#include "bus/brokerlogin.h"
#include "bus/buslink.h"
#include "port/line.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace velk {

// A bus line as the panel's port: CONNECT opens the broker connection, and the line is open
// while its bridge's availability is online. A lost broker or a bridge gone offline is a lost
// line. It never carries bytes of its own: the commands go to the bridge as requests (see
// BusCommands), and its settings are the bridge's (BASE/line).
class BusLine : public QObject, public Line {
    Q_OBJECT

public:
    // `login`, when given, is asked for a user and password when the broker refuses a
    // connection made without them.
    BusLine(const LineName& name, const BrokerAccess& access, BrokerLogin* login = nullptr,
            QObject* parent = nullptr);
    ~BusLine() override;

    // Runs on every change of the bridge's retained states while connected.
    void onChanged(BusLink::PartHandler handler) { m_changed = std::move(handler); }
    // Runs each time the line opens, before the open's own handler.
    void onOpened(Handler handler) { m_opened = std::move(handler); }
    // The open line's link to its bridge; null while closed or connecting.
    BusLink* link() const { return m_open ? m_link.get() : nullptr; }
    LineName name() const override { return m_name; }
    // A bus line reaches its own bridge only; LinePort makes another for another name.
    bool setName(const LineName& name, QString* why) override;
    // The bridge's settings once it has said them; until then the last ones set.
    LineSettings settings() const override;
    bool setSettings(const LineSettings& settings, QString*) override;
    bool isOpen() const override { return m_open; }
    void open(Opened opened) override;
    void close(Closed closed = {}) override;
    bool output(const QByteArray&) override { return false; }

private:
    void startLink();
    void settle();
    // Runs the open's handler with `failure` (empty: opened), from the event loop: it may show
    // a modal box, which must not run inside the broker client's callback.
    void answerOpen(const QString& failure);
    // The broker refused a connection without a user: true when the operator gave one and the
    // open goes on with it.
    bool askLogin(const QString& why);
    void fail(const QString& why);
    void dropLink();

    LineName m_name;
    BrokerAccess m_access; // with what the login gave, for the run only
    BrokerLogin* m_login = nullptr;
    LineSettings m_settings;
    std::unique_ptr<BusLink> m_link;
    Opened m_opening;
    bool m_open = false;
    quint64 m_attempt = 0; // each open() and close(), so a late answer is told from a current one
    BusLink::PartHandler m_changed;
    Handler m_opened;
};

// The bus line the panel's port reaches now, if any: set where the line is made, cleared when it
// goes.
struct BusLineSlot {
    QPointer<BusLine> line;
};

} // namespace velk
