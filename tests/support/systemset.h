#pragma once

#include <QByteArray>

namespace velk::test {

// What the system's single-byte set puts on the line for "€": nothing where the set is Latin-1
// (Linux), its byte in the ANSI code page on Windows (0x80 in Windows-1252).
QByteArray euroBytes();

} // namespace velk::test
