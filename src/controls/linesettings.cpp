#include "controls/linesettings.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace velk {

namespace {

constexpr qint32 kMaxBaudRate = 4000000;

struct ParityLetter {
    QChar letter;
    QSerialPort::Parity parity;
};

const std::array<ParityLetter, 5> kParityLetters = {{
    {QLatin1Char('E'), QSerialPort::EvenParity},
    {QLatin1Char('O'), QSerialPort::OddParity},
    {QLatin1Char('N'), QSerialPort::NoParity},
    {QLatin1Char('M'), QSerialPort::MarkParity},
    {QLatin1Char('S'), QSerialPort::SpaceParity},
}};
// A command line offers the parities a display line uses.
constexpr int kReadableParities = 3;

std::optional<int> number(const QString& text, int minimum, int maximum) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

std::optional<LineSettings> refuse(QString* why, const QString& reason) {
    if (why)
        *why = reason;
    return std::nullopt;
}

QString parityText(QSerialPort::Parity parity) {
    for (const ParityLetter& known : kParityLetters) {
        if (known.parity == parity)
            return QString(known.letter);
    }
    return QStringLiteral("?");
}

QString stopBitsText(QSerialPort::StopBits stopBits) {
    switch (stopBits) {
    case QSerialPort::OneAndHalfStop:
        return QStringLiteral("1.5");
    case QSerialPort::TwoStop:
        return QStringLiteral("2");
    default:
        return QStringLiteral("1");
    }
}

} // namespace

std::optional<qint32> LineSettings::parseBaudRate(const QString& text, QString* why) {
    if (const std::optional<int> rate = number(text, 1, kMaxBaudRate))
        return *rate;
    if (why)
        *why = QStringLiteral("baud rate \"%1\" is not a number from 1 to %2")
                   .arg(text, QString::number(kMaxBaudRate));
    return std::nullopt;
}

std::optional<LineSettings> LineSettings::parse(const QString& text, QString* why) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return refuse(
            why, QStringLiteral("line settings \"%1\" are not BAUD,PARITY,DATA,STOP").arg(text));

    LineSettings settings;
    const std::optional<qint32> baudRate = parseBaudRate(parts.at(0), why);
    if (!baudRate)
        return std::nullopt;
    settings.baudRate = *baudRate;

    const QString parity = parts.at(1).trimmed().toUpper();
    const auto known =
        std::find_if(kParityLetters.begin(), kParityLetters.begin() + kReadableParities,
                     [&](const ParityLetter& entry) { return parity == QString(entry.letter); });
    if (known == kParityLetters.begin() + kReadableParities)
        return refuse(why, QStringLiteral("parity \"%1\" is not E, O or N").arg(parts.at(1)));
    settings.parity = known->parity;

    const std::optional<int> dataBits = number(parts.at(2), 5, 8);
    if (!dataBits)
        return refuse(why,
                      QStringLiteral("data bits \"%1\" are not 5, 6, 7 or 8").arg(parts.at(2)));
    settings.dataBits = QSerialPort::DataBits(*dataBits);

    const std::optional<int> stopBits = number(parts.at(3), 1, 2);
    if (!stopBits)
        return refuse(why, QStringLiteral("stop bits \"%1\" are not 1 or 2").arg(parts.at(3)));
    settings.stopBits = *stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop;
    return settings;
}

QString LineSettings::text() const {
    return QString::number(baudRate) + QLatin1Char(',') + parityText(parity) + QLatin1Char(',') +
           QString::number(int(dataBits)) + QLatin1Char(',') + stopBitsText(stopBits);
}

double LineSettings::bitsPerCharacter() const {
    const double parityBits = parity == QSerialPort::NoParity ? 0.0 : 1.0;
    double stop = 1.0;
    if (stopBits == QSerialPort::OneAndHalfStop)
        stop = 1.5;
    else if (stopBits == QSerialPort::TwoStop)
        stop = 2.0;
    return 1.0 + int(dataBits) + parityBits + stop;
}

} // namespace velk
