#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

// The frames the panel writes to the one-way line. Every frame starts with "/" and a
// case-sensitive command letter; there is no length, checksum or escaping.
namespace velk::frames {

constexpr quint8 kStartByte = 0x2F;
constexpr quint8 kTerminator = 0x0D;
constexpr char kTitleLetter = 'T';
constexpr char kMinuteLetter = 'M';
constexpr char kHourLetter = 'H';
constexpr char kMonthLetter = 'm';
constexpr char kYearLetter = 'Y';
constexpr char kDayLetter = 'D';
constexpr quint8 kAllDevices = 255;
constexpr int kAddressCount = 255; // "Master" and the addresses 1 to 254

// The address byte for a position of the address selector: "Master" (0) reaches every device
// as 255, positions 1 to 254 are the device address. Nothing for any other position.
std::optional<quint8> addressByte(int listIndex);

// "/", "T", the address, the text's bytes, carriage return.
QByteArray titleFrame(quint8 address, const QString& text);
// A title frame without text: the device blanks its title.
QByteArray clearFrame(quint8 address);

// "/", the letter, then the first and the last character of a two-digit value.
QByteArray clockFrame(char letter, const QString& value);

} // namespace velk::frames
