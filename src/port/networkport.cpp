#include "port/networkport.h"

#include "controls/logging.h"
#include "port/portdescriptions.h"
#include "port/portsettings.h"

namespace velk {

namespace {

// The most of the port's own Telnet answers left unread by the server before the port stops
// reading it: a server flooding requests without reading the answers gets no more of them.
constexpr qint64 kMaxAnswerBacklog = 4096;
// What the socket may hold of the server's bytes not yet read.
constexpr qint64 kReadBufferBytes = 64 * 1024;
// The most of the server's own text kept while opening: enough for "Port already in use".
constexpr int kServerTextBytes = 64;

} // namespace

NetworkPort::NetworkPort(LineName name, QObject* parent)
    : QObject(parent), m_name(std::move(name)),
      m_drain([this] { return pendingBytes(); }, [this] { return finishClose(); }) {
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kAnswerMs);
    // A coarse timer may fire a twentieth early; "no answer within 5 s" means 5 s.
    m_deadline.setTimerType(Qt::PreciseTimer);
    m_paceTimer.setSingleShot(true);
    m_paceTimer.setTimerType(Qt::PreciseTimer);
    m_clock.start();
    m_socket.setReadBufferSize(kReadBufferBytes);
    connect(&m_deadline, &QTimer::timeout, this, &NetworkPort::answerTimedOut);
    connect(&m_paceTimer, &QTimer::timeout, this, &NetworkPort::pump);
    connect(&m_socket, &QTcpSocket::connected, this, &NetworkPort::connected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkPort::readServer);
    connect(&m_socket, &QTcpSocket::bytesWritten, this, [this] {
        if (m_readPaused)
            readServer();
    });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &NetworkPort::socketFailed);
    connect(&m_socket, &QTcpSocket::disconnected, this, &NetworkPort::disconnected);
}

NetworkPort::~NetworkPort() {
    if (m_state == State::Open || m_state == State::Closing) {
        // On the way out the event loop may have ended: wait here, bounded as closing is; the
        // server's answers are read as they come, and the pacer fed from here.
        DrainingClose::waitBlocking(
            m_settings.msPerByte(), [this] { return pendingBytes(); },
            [this] {
                pump();
                if (!m_socket.waitForReadyRead(DrainingClose::kFlushSliceMs))
                    m_socket.waitForBytesWritten(0);
            });
    }
    disconnect(&m_socket, nullptr, this, nullptr);
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
    if (m_pacer)
        m_pacer->setMsPerByte(settings.msPerByte());
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
    if (m_lock.acquireAddress(m_name.endpoint()) == DeviceLock::Outcome::Busy)
        return opened(
            openFailureDescription(OpenFailure::Busy, m_name.endpoint(), {}, {}, m_chooser));
    m_opened = std::move(opened);
    m_codec = TelnetCodec();
    m_takenOver = false;
    m_serverText.clear();
    m_state = State::Connecting;
    m_deadline.start();
    m_socket.connectToHost(m_name.host, m_name.tcpPort);
}

void NetworkPort::connected() {
    if (m_state != State::Connecting)
        return;
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (m_name.protocol == LineName::Protocol::Raw)
        return becomeOpen();
    // Modem-control lines are never asked about: a server whose port has none never answers.
    m_state = State::Negotiating;
    m_deadline.start();
    m_socket.write(m_codec.greeting() + TelnetCodec::settingsRequest(m_settings));
}

void NetworkPort::readServer() {
    if (m_name.protocol == LineName::Protocol::Raw) {
        rememberServerText(m_socket.readAll()); // nothing is ever read from the displays
        return;
    }
    m_readPaused = m_socket.bytesToWrite() > kMaxAnswerBacklog;
    if (m_readPaused)
        return;
    rememberServerText(m_codec.feed(m_socket.readAll()));
    if (const QByteArray replies = m_codec.takeReplies(); !replies.isEmpty())
        m_socket.write(replies);
    if (m_pacer) {
        for (int answers = m_codec.takeMarkAnswers(); answers > 0; --answers)
            m_pacer->markAnswered();
        pump();
    }
    if (m_state == State::Open && m_codec.settingsAnswered()) {
        const LineSettings held = m_codec.answeredSettings(m_settings);
        if (held != m_settings)
            qCWarning(lcSerial).noquote()
                << settingsRefusedDescription(m_name.endpoint(), m_settings, held);
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
        return failOpen(settingsRefusedDescription(m_name.endpoint(), m_settings, held));
    m_codec.forgetSettings();
    becomeOpen();
}

void NetworkPort::becomeOpen() {
    m_deadline.stop();
    m_pacer = std::make_unique<LinePacer>(m_settings.msPerByte(),
                                          m_name.protocol == LineName::Protocol::Rfc2217);
    m_state = State::Open;
    m_openedAtMs = nowMs();
    if (Opened opened = std::exchange(m_opened, {}))
        opened({});
}

void NetworkPort::pump() {
    if (!m_pacer || (m_state != State::Open && m_state != State::Closing))
        return;
    const bool confirmed = m_name.protocol == LineName::Protocol::Rfc2217;
    if (m_pacer->needsProbe(nowMs()))
        sendMark();
    for (QByteArray piece = m_pacer->take(nowMs()); !piece.isEmpty();
         piece = m_pacer->take(nowMs())) {
        m_socket.write(confirmed ? TelnetCodec::escape(piece) : piece);
        if (confirmed)
            sendMark();
    }
    if (const std::optional<qint64> wake = m_pacer->wakeAfter(nowMs()))
        m_paceTimer.start(int(*wake));
}

void NetworkPort::sendMark() {
    m_socket.write(m_codec.timingMark());
    m_pacer->markSent(nowMs());
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
            return failOpen(closedWhileOpening());
        return failOpen(networkFailureDescription(NetworkFailure::Other, m_name.endpoint(),
                                                  m_socket.errorString()));
    case State::Open:
        return serverClosed(m_socket.errorString());
    case State::Closing:
        return m_drain.finishNow();
    case State::Closed:
        break;
    }
}

void NetworkPort::disconnected() {
    if (m_state == State::Open)
        serverClosed({});
    else if (m_state == State::Negotiating)
        failOpen(closedWhileOpening());
}

void NetworkPort::serverClosed(const QString& why) {
    m_takenOver = nowMs() - m_openedAtMs < kTakeOverMs;
    if (m_serverText.contains("in use"))
        qCWarning(lcSerial).noquote() << closedWhileOpening();
    else if (m_takenOver)
        qCWarning(lcSerial).noquote() << takenOverDescription(m_name.endpoint());
    else if (why.isEmpty())
        qCWarning(lcSerial).noquote() << m_name.endpoint() << "closed the connection";
    else
        qCWarning(lcSerial).noquote() << m_name.endpoint() << "connection lost:" << why;
    lose();
}

QString NetworkPort::closedWhileOpening() const {
    // ser2net with max-connections says so before it closes a connection beyond the limit.
    if (m_serverText.contains("in use"))
        return openFailureDescription(OpenFailure::Busy, m_name.endpoint(), {}, {}, m_chooser);
    return networkFailureDescription(NetworkFailure::Dropped, m_name.endpoint(), {});
}

void NetworkPort::rememberServerText(const QByteArray& bytes) {
    if (m_serverText.size() < kServerTextBytes)
        m_serverText += bytes.left(kServerTextBytes - m_serverText.size());
}

void NetworkPort::answerTimedOut() {
    if (m_state == State::Connecting || m_state == State::Negotiating)
        failOpen(networkFailureDescription(NetworkFailure::NoAnswer, m_name.endpoint(), {}));
}

void NetworkPort::failOpen(const QString& failure) {
    m_deadline.stop();
    m_pacer.reset();
    m_lock.release();
    m_state = State::Closed;
    m_socket.abort();
    if (Opened opened = std::exchange(m_opened, {}))
        opened(failure);
}

void NetworkPort::lose() {
    m_state = State::Closed;
    m_paceTimer.stop();
    m_pacer.reset();
    m_lock.release();
    // Not inside the socket's own notification: the lost handler may open the line again.
    QTimer::singleShot(0, this, [this] {
        m_socket.abort();
        raiseLost();
    });
}

void NetworkPort::close(Closed closed) {
    if (m_state == State::Closing) // the caller hears when the first close is over
        return m_drain.start(std::move(closed), m_settings.msPerByte());
    if (m_state == State::Connecting || m_state == State::Negotiating) {
        m_opened = {}; // withdrawn: nobody waits for that answer any more
        failOpen({});
    }
    if (m_state != State::Open) {
        m_socket.abort();
        m_lock.release();
        if (closed)
            closed(0);
        return;
    }
    m_state = State::Closing;
    m_drain.start(std::move(closed), m_settings.msPerByte());
}

qint64 NetworkPort::finishClose() {
    m_paceTimer.stop();
    const qint64 unsent = pendingBytes();
    m_state = State::Closed;
    m_pacer.reset();
    m_lock.release();
    if (unsent > 0)
        m_socket.abort();
    else
        m_socket.disconnectFromHost();
    return unsent;
}

bool NetworkPort::output(const QByteArray& bytes) {
    if (!isOpen() || !m_pacer->queue(bytes))
        return false;
    pump();
    return true;
}

qint64 NetworkPort::pendingBytes() const {
    return m_pacer ? m_pacer->pending(nowMs()) : 0;
}

qint64 NetworkPort::discardPending() {
    return m_pacer ? m_pacer->withdraw() : 0;
}

} // namespace velk
