#include "serial/linesettings.h"

#include <QStringList>
#include <array>

namespace velk {

namespace {

constexpr std::array<qint32, 13> kBaudRates = {110,   300,   600,   1200,  2400,  4800,  9600,
                                               14400, 19200, 28800, 38400, 57600, 115200};

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

std::optional<qint32> parseBaudRate(const QString& text) {
    bool ok = false;
    const qint32 rate = text.toInt(&ok);
    if (!ok || text != QString::number(rate))
        return std::nullopt;
    for (qint32 known : kBaudRates) {
        if (known == rate)
            return rate;
    }
    return std::nullopt;
}

std::optional<QSerialPort::Parity> parseParity(const QString& text) {
    if (text.size() != 1)
        return std::nullopt;
    const QChar letter = text.at(0).toUpper();
    for (const ParityLetter& known : kParityLetters) {
        if (known.letter == letter)
            return known.parity;
    }
    return std::nullopt;
}

std::optional<QSerialPort::DataBits> parseDataBits(const QString& text) {
    if (text == QLatin1String("5"))
        return QSerialPort::Data5;
    if (text == QLatin1String("6"))
        return QSerialPort::Data6;
    if (text == QLatin1String("7"))
        return QSerialPort::Data7;
    if (text == QLatin1String("8"))
        return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> parseStopBits(const QString& text) {
    if (text == QLatin1String("1"))
        return QSerialPort::OneStop;
    if (text == QLatin1String("1.5"))
        return QSerialPort::OneAndHalfStop;
    if (text == QLatin1String("2"))
        return QSerialPort::TwoStop;
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

std::optional<LineSettings> LineSettings::parse(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    const auto baudRate = parseBaudRate(parts.at(0));
    const auto parity = parseParity(parts.at(1));
    const auto dataBits = parseDataBits(parts.at(2));
    const auto stopBits = parseStopBits(parts.at(3));
    if (!baudRate || !parity || !dataBits || !stopBits)
        return std::nullopt;
    return LineSettings{*baudRate, *parity, *dataBits, *stopBits};
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
