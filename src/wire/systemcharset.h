#pragma once

#include <QtGlobal>
#include <optional>

namespace velk::linecharset {

// The character's one byte in the system's single-byte character set, or nothing when the set
// has no single byte for it. Chosen per platform.
std::optional<quint8> systemByteFor(char32_t codePoint);

} // namespace velk::linecharset
