#include "bus/busstate.h"

#include "controls/clockstate.h"
#include "controls/linesettings.h"
#include "titles/titlerule.h"
#include "wire/frames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

namespace velk {

namespace {

constexpr quint8 kAll = 255;
// No line or zone name is longer; a longer one is not the bridge's.
constexpr qsizetype kLongestName = 256;

std::optional<BusState::Part> refuse(QString* why, const QString& path, const QString& reason) {
    if (why)
        *why = QStringLiteral("%1: %2").arg(path, reason);
    return std::nullopt;
}

bool isOneLine(const QString& text) {
    for (const QChar c : text) {
        const ushort code = c.unicode();
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            return false;
    }
    return text.size() <= kLongestName;
}

template <typename T> BusState::Part changed(T& kept, const T& heard, BusState::Part part) {
    if (kept == heard)
        return BusState::Part::None;
    kept = heard;
    return part;
}

} // namespace

std::optional<quint8> BusState::addressOf(const QString& level) {
    if (level == QLatin1String("all"))
        return kAll;
    bool isNumber = false;
    const int number = level.toInt(&isNumber);
    // Only the plain form: "03" or "+3" are other topics.
    if (!isNumber || QString::number(number) != level || number < 1)
        return std::nullopt;
    return frames::addressByte(number);
}

QString BusState::addressName(quint8 address) {
    return address == kAll ? QStringLiteral("all") : QString::number(address);
}

std::optional<QString> BusState::title(quint8 address) const {
    if (!m_titles.contains(address))
        return std::nullopt;
    return m_titles.value(address);
}

std::optional<BusState::Part> BusState::take(const QString& path, const QByteArray& payload,
                                             QString* why) {
    if (payload.size() > kLargestPayload)
        return refuse(why, path,
                      QStringLiteral("a payload of %1 bytes; at most %2 are taken")
                          .arg(payload.size())
                          .arg(kLargestPayload));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(payload);
    if (utf8.hasError())
        return refuse(why, path, QStringLiteral("the payload is not valid UTF-8"));

    if (path == QLatin1String("availability")) {
        if (text != QLatin1String("online") && text != QLatin1String("offline"))
            return refuse(why, path, QStringLiteral("expected online or offline"));
        return changed(m_availability, text, Part::Availability);
    }
    if (path == QLatin1String("sync")) {
        if (text != QLatin1String("ON") && text != QLatin1String("OFF"))
            return refuse(why, path, QStringLiteral("expected ON or OFF"));
        return changed(m_sync, std::optional<bool>(text == QLatin1String("ON")), Part::Sync);
    }
    if (path == QLatin1String("clock")) {
        for (const auto sync : {ClockState::Sync::Synchronised, ClockState::Sync::NotSynchronised,
                                ClockState::Sync::Unknown}) {
            if (text == clockStateWord(sync))
                return changed(m_clock, text, Part::Clock);
        }
        return refuse(why, path, QStringLiteral("not a clock state"));
    }
    if (path == QLatin1String("line"))
        return takeLine(text, why);
    const int slash = path.indexOf(QLatin1Char('/'));
    const std::optional<quint8> address = addressOf(path.left(slash));
    if (!address || path.mid(slash + 1) != QLatin1String("title"))
        return Part::None;
    QString reason;
    const std::optional<QString> title = titlerule::accept(text, &reason);
    if (!title)
        return refuse(why, path, reason);
    if (m_titles.contains(*address) && m_titles.value(*address) == *title)
        return Part::None;
    m_titles.insert(*address, *title);
    return Part::Title;
}

std::optional<BusState::Part> BusState::takeLine(const QString& text, QString* why) {
    const QString path = QStringLiteral("line");
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (!document.isObject())
        return refuse(why, path, QStringLiteral("expected a JSON object"));
    const QJsonObject object = document.object();
    const QString line = object.value(QLatin1String("line")).toString();
    const QString settings = object.value(QLatin1String("settings")).toString();
    const QString zone = object.value(QLatin1String("time_zone")).toString();
    if (line.isEmpty() || !isOneLine(line) || !isOneLine(zone))
        return refuse(why, path, QStringLiteral("no line name of one line"));
    if (!LineSettings::parse(settings, nullptr))
        return refuse(why, path,
                      QStringLiteral("settings \"%1\" are not line settings")
                          .arg(settings.left(kLongestName)));
    QList<quint8> addresses;
    for (const QJsonValue value : object.value(QLatin1String("addresses")).toArray()) {
        const int number = value.toInt(-1);
        const std::optional<quint8> address =
            number == kAll ? std::optional<quint8>(kAll) : frames::addressByte(number);
        if (!address || number < 1)
            return refuse(why, path, QStringLiteral("an address that is not 1-254 or 255"));
        if (!addresses.contains(*address))
            addresses.append(*address);
    }
    const bool same =
        line == m_line && settings == m_settings && zone == m_timeZone && addresses == m_addresses;
    m_line = line;
    m_settings = settings;
    m_timeZone = zone;
    m_addresses = addresses;
    return same ? Part::None : Part::Line;
}

} // namespace velk
