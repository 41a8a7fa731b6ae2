#pragma once

#include "port/devicelock.h"
#include "port/drainingclose.h"
#include "port/line.h"
#include "port/linename.h"
#include "port/linepacer.h"
#include "port/portdescriptions.h"
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
// lost line. The displays' bytes wait in the port's own queue and go to the socket at the line's
// speed (see LinePacer), so what the server has not taken can still be withdrawn.
class NetworkPort : public QObject, public Line {
    Q_OBJECT

public:
    // How long a connect, and then the server's answers to the line settings, may take.
    static constexpr int kAnswerMs = 5000;
    // A close by the server this soon after the line opened may be another connection taking
    // the line over: longer than the usual retry after a loss, so two drivers taking the line
    // from each other meet it.
    static constexpr int kTakeOverMs = 5000;

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
    // The displays' bytes the server has not taken: queued here and on their way. Telnet's own
    // never count.
    qint64 pendingBytes() const override;
    // What is still queued here can be withdrawn; bytes on their way cannot.
    bool canWithdraw() const override { return true; }
    qint64 discardPending() override;
    bool wasTakenOver() const override { return m_takenOver; }

    // Where the busy message tells the operator to pick another line.
    void setChooser(PortChooser chooser) { m_chooser = chooser; }

private:
    enum class State { Closed, Connecting, Negotiating, Open, Closing };

    void connected();
    void readServer();
    void socketFailed(QAbstractSocket::SocketError error);
    void disconnected();
    void answerTimedOut();
    void failOpen(const QString& failure);
    void becomeOpen();
    // Hands the socket what the pacer lets go now, each piece followed by a timing mark.
    void pump();
    void sendMark();
    qint64 finishClose();
    // The server ended an open line: a loss, or a take-over when it came soon after the open.
    void serverClosed(const QString& why);
    void lose();
    // What the server said before it closed an opening line: in use, or just dropped.
    QString closedWhileOpening() const;
    // Keeps the first bytes the server sent, where a refusal would say why.
    void rememberServerText(const QByteArray& bytes);
    qint64 nowMs() const { return m_clock.elapsed(); }

    LineName m_name;
    LineSettings m_settings;
    QTcpSocket m_socket;
    TelnetCodec m_codec;
    State m_state = State::Closed;
    QTimer m_deadline;
    Opened m_opened;
    QElapsedTimer m_clock;
    QTimer m_paceTimer;
    std::unique_ptr<LinePacer> m_pacer; // while open or closing
    DrainingClose m_drain;
    // Reading from the server waits while it leaves the answers to its own requests unread.
    bool m_readPaused = false;
    DeviceLock m_lock;
    PortChooser m_chooser = PortChooser::Window;
    qint64 m_openedAtMs = 0;
    bool m_takenOver = false;
    QByteArray m_serverText;
};

} // namespace velk
