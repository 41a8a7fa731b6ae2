#include "port/networktap.h"

#include "port/networkport.h"
#include "port/portdescriptions.h"

#include <cstring>

namespace velk {

NetworkTap::NetworkTap(LineName name, QObject* parent)
    : QIODevice(parent), m_name(std::move(name)) {
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkTap::take);
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        take();
        emit readChannelFinished();
    });
}

QString NetworkTap::connectTo(const LineSettings& settings) {
    m_socket.connectToHost(m_name.host, m_name.tcpPort);
    if (!m_socket.waitForConnected(NetworkPort::kAnswerMs)) {
        NetworkFailure failure = NetworkFailure::Other;
        if (m_socket.error() == QAbstractSocket::ConnectionRefusedError)
            failure = NetworkFailure::Refused;
        else if (m_socket.error() == QAbstractSocket::HostNotFoundError)
            failure = NetworkFailure::UnknownHost;
        else if (m_socket.error() == QAbstractSocket::SocketTimeoutError)
            failure = NetworkFailure::NoAnswer;
        return networkFailureDescription(failure, m_name.endpoint(), m_socket.errorString());
    }
    if (m_name.protocol == LineName::Protocol::Rfc2217)
        m_socket.write(m_codec.greeting() + TelnetCodec::settingsRequest(settings));
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return {};
}

void NetworkTap::take() {
    const QByteArray bytes = m_socket.readAll();
    if (m_name.protocol == LineName::Protocol::Raw) {
        m_data += bytes;
    } else {
        m_data += m_codec.feed(bytes);
        if (const QByteArray replies = m_codec.takeReplies(); !replies.isEmpty())
            m_socket.write(replies);
    }
    if (!m_data.isEmpty())
        emit readyRead();
}

qint64 NetworkTap::readData(char* data, qint64 maxSize) {
    const qint64 count = qMin<qint64>(maxSize, m_data.size());
    std::memcpy(data, m_data.constData(), size_t(count));
    m_data.remove(0, count);
    return count;
}

} // namespace velk
