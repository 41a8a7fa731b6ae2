#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtGlobal>
#include <memory>

namespace velk::test {

// A device server on 127.0.0.1 that a test steers: it speaks enough RFC 2217 to confirm line
// settings (or keep one of its own), answers timing marks as it reads, and can stop reading,
// flood the client with option requests, or close each connection soon after it opened, as a
// server does when another client takes its line over.
class FakeDeviceServer : public QObject {
    Q_OBJECT

public:
    // `telnet`: an rfc2217:// server; otherwise raw bytes (tcp://).
    explicit FakeDeviceServer(bool telnet = true);

    quint16 port() const { return m_server.serverPort(); }
    QString url() const;

    // The line setting command (1 baud, 2 data size, 3 parity, 4 stop size) it answers with
    // `value` instead of what was asked; 0: none.
    void keepSetting(quint8 command, QByteArray value) {
        m_keptCommand = command;
        m_keptValue = std::move(value);
    }
    // Stops reading: what the client sends stays in the kernels' buffers.
    void stall();
    // Reads again, what waited first.
    void resume();
    // Sends `bytes` of "IAC DO 99" requests (without reading, if stalled).
    void floodRequests(qint64 bytes);
    // Closes every connection `afterMs` after it opened; -1: never.
    void closeAfterOpen(int afterMs) { m_closeAfterMs = afterMs; }
    // Reads at most `count` data bytes of the next connection, then closes it.
    void closeAfterData(int count) { m_closeAfterData = count; }

    // The client's data bytes read so far (Telnet taken out), and the requests it refused.
    const QByteArray& data() const { return m_data; }
    int refusals(quint8 verb, quint8 option) const;
    bool hasClient() const { return m_client != nullptr; }

private:
    void accept();
    void readClient();
    void take(quint8 byte);
    void command(quint8 verb, quint8 option);
    void subnegotiation();
    void send(const QByteArray& bytes);

    bool m_telnet;
    QTcpServer m_server;
    QTcpSocket* m_client = nullptr;
    bool m_stalled = false;
    int m_closeAfterMs = -1;
    int m_closeAfterData = -1;
    quint8 m_keptCommand = 0;
    QByteArray m_keptValue;
    QByteArray m_data;
    QByteArray m_refused; // each refusal as "verb option"
    enum class State { Data, Iac, Verb, Sub, SubIac } m_state = State::Data;
    quint8 m_verb = 0;
    QByteArray m_sub;
};

} // namespace velk::test
