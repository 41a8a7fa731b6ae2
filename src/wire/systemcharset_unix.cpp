#include "wire/systemcharset.h"

namespace velk::linecharset {

// There is no system single-byte set here: Latin-1, where every byte is its own code point.
std::optional<quint8> systemByteFor(char32_t codePoint) {
    if (codePoint > 0xFF)
        return std::nullopt;
    return quint8(codePoint);
}

} // namespace velk::linecharset
