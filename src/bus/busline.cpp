#include "bus/busline.h"

namespace velk {

BusLine::BusLine(const LineName& name, const BrokerAccess& access, BrokerLogin* login,
                 QObject* parent)
    : QObject(parent), m_name(name), m_access(access), m_login(login) {}

// Requests still waiting are forgotten unanswered: whoever would be told is going too.
BusLine::~BusLine() = default;

bool BusLine::setName(const LineName& name, QString* why) {
    return name == m_name ||
           refuse(why, QStringLiteral("%1: not this bus line's name").arg(name.text()));
}

LineSettings BusLine::settings() const {
    if (m_link) {
        if (const std::optional<LineSettings> bridge =
                LineSettings::parse(m_link->state().settings(), nullptr))
            return *bridge;
    }
    return m_settings;
}

bool BusLine::setSettings(const LineSettings& settings, QString*) {
    // Kept only to be shown until the bridge says its own.
    m_settings = settings;
    return true;
}

void BusLine::open(Opened opened) {
    ++m_attempt;
    m_opening = std::move(opened);
    if (m_link) {
        if (m_link->isReady())
            settle();
        return;
    }
    startLink();
}

void BusLine::startLink() {
    m_link = std::make_unique<BusLink>(m_name, m_access, true);
    m_link->onReady([this] { settle(); });
    m_link->onFailed([this](const QString& why) { fail(why); });
    m_link->onLost([this](const QString& why) { fail(why); });
    m_link->onChanged([this](BusState::Part part, quint8 address) {
        if (part == BusState::Part::Availability && m_open && !m_link->state().isOnline())
            fail(m_link->offlineText());
        if (m_changed)
            m_changed(part, address);
    });
    m_link->start();
}

// Connected to the broker with the states in: open while the bridge is online.
void BusLine::settle() {
    if (!m_opening)
        return;
    m_open = m_link->state().isOnline();
    if (m_open)
        raise(m_opened);
    answerOpen(m_open ? QString() : m_link->offlineText());
}

void BusLine::fail(const QString& why) {
    const bool wasOpen = m_open;
    m_open = false;
    // A lost broker is not tried again by the link: the next open() makes a new one. A bridge
    // gone offline keeps the link, so its coming back is seen at once.
    if (!m_link || !m_link->isReady() || why != m_link->offlineText())
        dropLink();
    if (m_opening && askLogin(why))
        return;
    if (m_opening) {
        answerOpen(why);
    } else if (wasOpen) {
        qCWarning(lcMqtt).noquote() << "lost the bus line" << m_name.text() << "(" + why + ")";
        raiseLost();
    }
}

bool BusLine::askLogin(const QString& why) {
    // Only a refusal of a connection made without a user: a wrong password given in a file is
    // the file's to correct.
    if (!m_login || !m_access.user.isEmpty() || !why.contains(QLatin1String("refused")))
        return false;
    // Asked from the event loop: the link is inside its own notification now.
    QMetaObject::invokeMethod(
        this,
        [this, why] {
            const std::optional<BrokerLogin::Given> given =
                m_opening ? m_login->ask(m_name.endpoint(), why) : std::nullopt;
            if (!m_opening)
                return;
            if (given && !given->user.isEmpty()) {
                m_access.user = given->user;
                m_access.password = given->password;
                return startLink();
            }
            answerOpen(why);
        },
        Qt::QueuedConnection);
    return true;
}

void BusLine::answerOpen(const QString& failure) {
    Opened opened = std::move(m_opening);
    m_opening = nullptr;
    QMetaObject::invokeMethod(
        this,
        [this, opened, failure, attempt = m_attempt] {
            // A close() or another open() meanwhile withdrew this one: its handler never runs.
            if (opened && attempt == m_attempt)
                opened(failure);
        },
        Qt::QueuedConnection);
}

void BusLine::dropLink() {
    if (!m_link)
        return;
    // The link may be inside its own notification; it goes once that has returned.
    BusLink* link = m_link.release();
    link->onFailed({});
    link->onLost({});
    link->onReady({});
    link->onChanged({});
    link->stop();
    link->deleteLater();
}

void BusLine::close(Closed closed) {
    ++m_attempt;
    m_open = false;
    m_opening = nullptr;
    // Nothing on the bridge changes: the panel only leaves the broker.
    dropLink();
    if (closed)
        closed(0);
}

} // namespace velk
