#pragma once

#include "port/flushwatch.h"
#include "port/line.h"
#include "port/linename.h"
#include "port/telnetcodec.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace velk {

// A line that ends at a device server on the network: bytes as they are (tcp://), or Telnet with
// the COM port option (rfc2217://), which sets the server's line as a serial port would be set.
// Connecting, negotiating and closing all run from the event loop; a dropped connection is a
// lost line.
class NetworkPort : public QObject, public Line {
    Q_OBJECT

public:
    // How long a connect, and then the server's answers to the line settings, may take.
    static constexpr int kAnswerMs = 5000;

    explicit NetworkPort(LineName name, QObject* parent = nullptr);
    ~NetworkPort() override;

    LineName name() const override { return m_name; }
    // A network port reaches its own device server only.
    bool setName(const LineName& name, QString* why) override;
    LineSettings settings() const override { return m_settings; }
    bool setSettings(const LineSettings& settings, QString* why) override;

    bool isOpen() const override { return m_state == State::Open; }
    void open(Opened opened) override;
    void close(Closed closed = {}) override;
    bool output(const QByteArray& bytes) override;
    // The bytes the socket has not handed over yet.
    qint64 pendingBytes() const override;
    // A connection cannot drop bytes it has accepted without ending: none are dropped while
    // open; closing ends the connection with them.
    qint64 discardPending() override { return 0; }

private:
    enum class State { Closed, Connecting, Negotiating, Open, Closing };

    void connected();
    void readServer();
    void socketFailed(QAbstractSocket::SocketError error);
    void disconnected();
    void answerTimedOut();
    void failOpen(const QString& failure);
    void watchFlush();
    void finishClose();
    void lose();

    LineName m_name;
    LineSettings m_settings;
    QTcpSocket m_socket;
    TelnetCodec m_codec;
    State m_state = State::Closed;
    QTimer m_deadline;
    Opened m_opened;
    Closed m_closed;
    QTimer m_flushTimer;
    QElapsedTimer m_flushClock;
    std::unique_ptr<FlushWatch> m_flushWatch;
};

} // namespace velk
