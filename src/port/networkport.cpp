#include "port/networkport.h"

#include "controls/logging.h"
#include "port/portdescriptions.h"
#include "port/portsettings.h"

namespace velk {

namespace {

// How often closing looks at the bytes still draining.
constexpr int kFlushSliceMs = 20;

} // namespace

NetworkPort::NetworkPort(LineName name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kAnswerMs);
    m_flushTimer.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &NetworkPort::answerTimedOut);
    connect(&m_flushTimer, &QTimer::timeout, this, &NetworkPort::watchFlush);
    connect(&m_socket, &QTcpSocket::connected, this, &NetworkPort::connected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkPort::readServer);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &NetworkPort::socketFailed);
    connect(&m_socket, &QTcpSocket::disconnected, this, &NetworkPort::disconnected);
}

NetworkPort::~NetworkPort() {
    disconnect(&m_socket, nullptr, this, nullptr);
    if (m_state != State::Open && m_state != State::Closing)
        return;
    // On the way out the event loop may have ended: wait here, bounded as closing is.
    FlushWatch watch(pendingBytes(),
                     m_settings.bitsPerCharacter() * 1000.0 / qMax<qint32>(m_settings.baudRate, 1));
    QElapsedTimer waited;
    waited.start();
    while (watch.keepWaiting(waited.elapsed(), pendingBytes()))
        m_socket.waitForBytesWritten(kFlushSliceMs);
    m_socket.abort();
}

bool NetworkPort::setName(const LineName& name, QString* why) {
    if (isOpen())
        return refuse(why, portAlreadyOpenDescription());
    if (name == m_name)
        return true;
    return refuse(why,
                  QStringLiteral("%1: this port reaches %2 only").arg(name.text(), m_name.text()));
}

bool NetworkPort::setSettings(const LineSettings& settings, QString* why) {
    Q_UNUSED(why)
    m_settings = settings;
    // An open line takes new settings at once; the server's answers are only logged then.
    if (isOpen() && m_name.protocol == LineName::Protocol::Rfc2217) {
        m_codec.forgetSettings();
        m_socket.write(TelnetCodec::settingsRequest(settings));
    }
    return true;
}

void NetworkPort::open(Opened opened) {
    if (m_state != State::Closed)
        return opened(portAlreadyOpenDescription());
    m_opened = std::move(opened);
    m_codec = TelnetCodec();
    m_state = State::Connecting;
    m_deadline.start();
    m_socket.connectToHost(m_name.host, m_name.tcpPort);
}

void NetworkPort::connected() {
    if (m_state != State::Connecting)
        return;
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (m_name.protocol == LineName::Protocol::Raw) {
        m_deadline.stop();
        m_state = State::Open;
        if (Opened opened = std::exchange(m_opened, {}))
            opened({});
        return;
    }
    // Modem-control lines are never asked about: a server whose port has none never answers.
    m_state = State::Negotiating;
    m_deadline.start();
    m_socket.write(m_codec.greeting() + TelnetCodec::settingsRequest(m_settings));
}

void NetworkPort::readServer() {
    const QByteArray bytes = m_socket.readAll();
    if (m_name.protocol == LineName::Protocol::Raw)
        return; // nothing is ever read from the displays
    m_codec.feed(bytes);
    if (const QByteArray replies = m_codec.takeReplies(); !replies.isEmpty())
        m_socket.write(replies);
    if (m_state == State::Open && m_codec.settingsAnswered()) {
        const LineSettings held = m_codec.answeredSettings(m_settings);
        if (held != m_settings)
            qCWarning(lcSerial).noquote()
                << settingsRefusedDescription(m_name.endpoint(), m_settings.text(), held.text());
        m_codec.forgetSettings();
    }
    if (m_state != State::Negotiating)
        return;
    if (m_codec.comPortRefused())
        return failOpen(
            networkFailureDescription(NetworkFailure::NoLineControl, m_name.endpoint(), {}));
    if (!m_codec.settingsAnswered())
        return;
    const LineSettings held = m_codec.answeredSettings(m_settings);
    if (held != m_settings)
        return failOpen(
            settingsRefusedDescription(m_name.endpoint(), m_settings.text(), held.text()));
    m_codec.forgetSettings();
    m_deadline.stop();
    m_state = State::Open;
    if (Opened opened = std::exchange(m_opened, {}))
        opened({});
}

void NetworkPort::socketFailed(QAbstractSocket::SocketError error) {
    switch (m_state) {
    case State::Connecting:
    case State::Negotiating:
        if (error == QAbstractSocket::ConnectionRefusedError)
            return failOpen(
                networkFailureDescription(NetworkFailure::Refused, m_name.endpoint(), {}));
        if (error == QAbstractSocket::HostNotFoundError)
            return failOpen(
                networkFailureDescription(NetworkFailure::UnknownHost, m_name.endpoint(), {}));
        if (error == QAbstractSocket::RemoteHostClosedError)
            return failOpen(
                networkFailureDescription(NetworkFailure::Dropped, m_name.endpoint(), {}));
        return failOpen(networkFailureDescription(NetworkFailure::Other, m_name.endpoint(),
                                                  m_socket.errorString()));
    case State::Open:
        qCWarning(lcSerial).noquote()
            << m_name.endpoint() << "connection lost:" << m_socket.errorString();
        return lose();
    case State::Closing:
        return finishClose();
    case State::Closed:
        break;
    }
}

void NetworkPort::disconnected() {
    if (m_state == State::Open) {
        qCWarning(lcSerial).noquote() << m_name.endpoint() << "closed the connection";
        lose();
    } else if (m_state == State::Negotiating) {
        failOpen(networkFailureDescription(NetworkFailure::Dropped, m_name.endpoint(), {}));
    }
}

void NetworkPort::answerTimedOut() {
    if (m_state == State::Connecting || m_state == State::Negotiating)
        failOpen(networkFailureDescription(NetworkFailure::NoAnswer, m_name.endpoint(), {}));
}

void NetworkPort::failOpen(const QString& failure) {
    m_deadline.stop();
    m_state = State::Closed;
    m_socket.abort();
    if (Opened opened = std::exchange(m_opened, {}))
        opened(failure);
}

void NetworkPort::lose() {
    m_state = State::Closed;
    // Not inside the socket's own notification: the lost handler may open the line again.
    QTimer::singleShot(0, this, [this] {
        m_socket.abort();
        raiseLost();
    });
}

void NetworkPort::close(Closed closed) {
    if (m_state == State::Closing) { // the caller hears when the first close is over
        m_closed = [first = std::move(m_closed), closed = std::move(closed)](qint64 unsent) {
            if (first)
                first(unsent);
            if (closed)
                closed(unsent);
        };
        return;
    }
    if (m_state == State::Connecting || m_state == State::Negotiating) {
        m_opened = {}; // withdrawn: nobody waits for that answer any more
        failOpen({});
    }
    if (m_state != State::Open) {
        m_socket.abort();
        if (closed)
            closed(0);
        return;
    }
    m_state = State::Closing;
    m_closed = std::move(closed);
    m_flushWatch =
        std::make_unique<FlushWatch>(pendingBytes(), m_settings.bitsPerCharacter() * 1000.0 /
                                                         qMax<qint32>(m_settings.baudRate, 1));
    m_flushClock.start();
    watchFlush();
}

void NetworkPort::watchFlush() {
    if (m_state != State::Closing)
        return;
    if (m_flushWatch->keepWaiting(m_flushClock.elapsed(), pendingBytes())) {
        m_flushTimer.start(kFlushSliceMs);
        return;
    }
    finishClose();
}

void NetworkPort::finishClose() {
    m_flushTimer.stop();
    const qint64 unsent = pendingBytes();
    m_state = State::Closed;
    m_flushWatch.reset();
    if (unsent > 0)
        m_socket.abort();
    else
        m_socket.disconnectFromHost();
    if (Closed closed = std::exchange(m_closed, {}))
        closed(unsent);
}

bool NetworkPort::output(const QByteArray& bytes) {
    if (!isOpen())
        return false;
    const QByteArray wire =
        m_name.protocol == LineName::Protocol::Rfc2217 ? TelnetCodec::escape(bytes) : bytes;
    return m_socket.write(wire) == wire.size();
}

qint64 NetworkPort::pendingBytes() const {
    if (m_state != State::Open && m_state != State::Closing)
        return 0;
    return m_socket.bytesToWrite();
}

} // namespace velk
