#include "support/fakedeviceserver.h"

#include <QTimer>

namespace velk::test {

namespace {
constexpr quint8 kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250, kSe = 240,
                 kComPort = 44, kTimingMark = 6, kServerReply = 100;
} // namespace

FakeDeviceServer::FakeDeviceServer(bool telnet) : m_telnet(telnet) {
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &FakeDeviceServer::accept);
}

QString FakeDeviceServer::url() const {
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_telnet ? QStringLiteral("rfc2217") : QStringLiteral("tcp"))
        .arg(port());
}

void FakeDeviceServer::accept() {
    while (QTcpSocket* next = m_server.nextPendingConnection()) {
        if (m_client)
            m_client->deleteLater();
        m_client = next;
        // A small buffer, so that a stalled server leaves bytes in the kernels, as a real one.
        m_client->setReadBufferSize(4096);
        connect(m_client, &QTcpSocket::readyRead, this, &FakeDeviceServer::readClient);
        if (m_closeAfterMs >= 0)
            QTimer::singleShot(m_closeAfterMs, next, [next] { next->close(); });
    }
}

void FakeDeviceServer::stall() {
    m_stalled = true;
}

void FakeDeviceServer::resume() {
    m_stalled = false;
    readClient();
}

void FakeDeviceServer::floodRequests(qint64 bytes) {
    QByteArray request;
    request.append(char(kIac)).append(char(kDo)).append(char(99));
    send(request.repeated(int(bytes / request.size())));
}

int FakeDeviceServer::refusals(quint8 verb, quint8 option) const {
    QByteArray pair;
    pair.append(char(verb)).append(char(option));
    int count = 0;
    for (int at = 0; at + 1 < m_refused.size(); at += 2)
        count += m_refused.mid(at, 2) == pair;
    return count;
}

void FakeDeviceServer::readClient() {
    if (!m_client || m_stalled)
        return;
    for (const char byte : m_client->readAll()) {
        if (!m_telnet) {
            m_data.append(byte);
        } else {
            take(quint8(byte));
        }
        if (m_closeAfterData >= 0 && m_data.size() >= m_closeAfterData) {
            m_closeAfterData = -1;
            m_client->close();
            return;
        }
    }
}

void FakeDeviceServer::take(quint8 byte) {
    switch (m_state) {
    case State::Data:
        if (byte == kIac)
            m_state = State::Iac;
        else
            m_data.append(char(byte));
        break;
    case State::Iac:
        m_state = State::Data;
        if (byte == kIac)
            m_data.append(char(byte));
        else if (byte == kSb)
            m_state = State::Sub, m_sub.clear();
        else if (byte >= kWill && byte <= kDont)
            m_state = State::Verb, m_verb = byte;
        break;
    case State::Verb:
        m_state = State::Data;
        command(m_verb, byte);
        break;
    case State::Sub:
        if (byte == kIac)
            m_state = State::SubIac;
        else
            m_sub.append(char(byte));
        break;
    case State::SubIac:
        m_state = byte == kSe ? State::Data : State::Sub;
        if (byte == kSe)
            subnegotiation();
        else
            m_sub.append(char(byte));
        break;
    }
}

void FakeDeviceServer::command(quint8 verb, quint8 option) {
    QByteArray answer;
    answer.append(char(kIac));
    if (verb == kDo && option == kTimingMark) // read up to here: say so
        answer.append(char(kWont)).append(char(option));
    else if (verb == kWill)
        answer.append(char(option == kComPort || option == 0 ? kDo : kDont)).append(char(option));
    else if (verb == kDo)
        answer.append(char(option == 0 ? kWill : kWont)).append(char(option));
    else
        m_refused.append(char(verb)).append(char(option));
    if (answer.size() > 1)
        send(answer);
}

void FakeDeviceServer::subnegotiation() {
    if (m_sub.size() < 3 || quint8(m_sub.at(0)) != kComPort)
        return;
    const quint8 code = quint8(m_sub.at(1));
    const QByteArray value = code == m_keptCommand ? m_keptValue : m_sub.mid(2);
    QByteArray reply;
    reply.append(char(kIac)).append(char(kSb)).append(char(kComPort));
    reply.append(char(code + kServerReply)).append(value);
    reply.append(char(kIac)).append(char(kSe));
    send(reply);
}

void FakeDeviceServer::send(const QByteArray& bytes) {
    if (m_client)
        m_client->write(bytes);
}

} // namespace velk::test
