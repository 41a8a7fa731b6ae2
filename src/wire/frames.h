#pragma once

#include "wire/framelayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// The frames the panel writes, laid out as in framelayout.h.
namespace velk::frames {

// The address byte for a position of the address selector: "Master" (0) reaches every device
// as 255, positions 1 to 254 are the device address. Nothing for any other position.
std::optional<quint8> addressByte(int listIndex);
// The address selector's entries, position by position: "Master", then "1" to "254".
QStringList addressEntries();

// "/", "T", the address, the text's bytes, carriage return.
QByteArray titleFrame(quint8 address, const QString& text);
// A title frame without text: the device blanks its title.
QByteArray clearFrame(quint8 address);

// "/", the letter, then the first and the last character of a two-digit value.
QByteArray clockFrame(char letter, const QString& value);

} // namespace velk::frames
