#include "monitor/readlinesettings.h"

#include <QStringList>

namespace velk {

namespace {
constexpr int kMaxBaudRate = 4000000;

std::optional<int> number(const QString& text, int minimum, int maximum) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}
} // namespace

QString ReadLineSettings::text() const {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(baudRate)
        .arg(QLatin1Char(parity))
        .arg(dataBits)
        .arg(stopBits);
}

std::optional<ReadLineSettings> ReadLineSettings::parse(const QString& text, QString* error) {
    const auto fail = [&](const QString& why) -> std::optional<ReadLineSettings> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 1 && parts.size() != 4)
        return fail(
            QStringLiteral("line settings \"%1\" are not BAUD or BAUD,PARITY,DATA,STOP").arg(text));

    ReadLineSettings settings;
    const auto baud = number(parts.at(0).trimmed(), 1, kMaxBaudRate);
    if (!baud)
        return fail(QStringLiteral("baud rate \"%1\" is not a number from 1 to %2")
                        .arg(parts.at(0), QString::number(kMaxBaudRate)));
    settings.baudRate = *baud;
    if (parts.size() == 1)
        return settings;

    const QString parity = parts.at(1).trimmed().toUpper();
    if (parity != QLatin1String("E") && parity != QLatin1String("O") &&
        parity != QLatin1String("N"))
        return fail(QStringLiteral("parity \"%1\" is not E, O or N").arg(parts.at(1)));
    settings.parity = parity.at(0).toLatin1();

    const auto dataBits = number(parts.at(2).trimmed(), 5, 8);
    if (!dataBits)
        return fail(QStringLiteral("data bits \"%1\" are not 5, 6, 7 or 8").arg(parts.at(2)));
    settings.dataBits = *dataBits;

    const auto stopBits = number(parts.at(3).trimmed(), 1, 2);
    if (!stopBits)
        return fail(QStringLiteral("stop bits \"%1\" are not 1 or 2").arg(parts.at(3)));
    settings.stopBits = *stopBits;
    return settings;
}

} // namespace velk
