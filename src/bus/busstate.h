#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace velk {

// What a line's bridge keeps retained on the broker under BASE, as a client of it last heard:
// its availability, its line and settings, the sync, the PC clock's state on the bridge's
// machine and each address's title. Every payload is checked here, at the door; one that does
// not fit is refused with a one-line reason and changes nothing.
class BusState {
public:
    // Which part a message changed.
    enum class Part { None, Availability, Line, Sync, Clock, Title };

    // The longest state payload taken (the line's JSON is the longest).
    static constexpr qsizetype kLargestPayload = 4096;

    // Takes a state message; `path` is its topic below BASE ("sync", "3/title"). The part it
    // changed (None when the value is the same or the topic is not a state); nothing, with a
    // one-line `why`, for a payload refused.
    std::optional<Part> take(const QString& path, const QByteArray& payload, QString* why);

    // Empty: not heard yet.
    QString availability() const { return m_availability; }
    bool isOnline() const { return m_availability == QLatin1String("online"); }
    bool isOffline() const { return m_availability == QLatin1String("offline"); }
    // The bridge's line as its --port names it, and its settings as its status bar shows them.
    QString line() const { return m_line; }
    QString settings() const { return m_settings; }
    QString timeZone() const { return m_timeZone; }
    // Address bytes, 255 for all, in the bridge's order.
    QList<quint8> addresses() const { return m_addresses; }
    std::optional<bool> sync() const { return m_sync; }
    // The clock-state word ("synchronised", "not synchronised", "unknown"); empty: not heard.
    QString clock() const { return m_clock; }
    // The retained title of an address byte; nothing when not heard.
    std::optional<QString> title(quint8 address) const;

    // The address byte of an address topic's first level ("3", "all"); nothing otherwise.
    static std::optional<quint8> addressOf(const QString& level);
    // How an address byte appears in topics: 1 to 254, or all.
    static QString addressName(quint8 address);

private:
    std::optional<Part> takeLine(const QString& text, QString* why);

    QString m_availability;
    QString m_line;
    QString m_settings;
    QString m_timeZone;
    QList<quint8> m_addresses;
    std::optional<bool> m_sync;
    QString m_clock;
    QMap<quint8, QString> m_titles;
};

} // namespace velk
