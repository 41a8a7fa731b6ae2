#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

// The characters a title can carry to the displays: printable characters of the system's
// single-byte character set (the ANSI code page on Windows, Latin-1 elsewhere), one byte each.
// Control bytes never qualify: the frame ends at 0x0D, so a stray one would cut it short.
namespace velk::linecharset {

// The byte a character goes out as, or nothing when the line cannot carry it.
std::optional<quint8> byteFor(char32_t codePoint);

// The text's bytes; characters the line cannot carry are left out, whole.
QByteArray encode(const QString& text);

struct Filtered {
    QString text;
    bool dropped = false; // something was left out
};

// What an operator's paste keeps: the characters the line can carry, in order, with each line
// break as one blank.
Filtered filter(const QString& text);

} // namespace velk::linecharset
