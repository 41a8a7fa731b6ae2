#include "wire/systemcharset.h"

#include <QString>
#include <windows.h>

namespace velk::linecharset {

// The ANSI code page (Windows-1252 on Western systems, where the euro sign is 0x80). No best-fit
// stand-ins: a character the page lacks has no byte rather than a look-alike or a "?".
std::optional<quint8> systemByteFor(char32_t codePoint) {
    // A system set to UTF-8 has no single-byte set: Latin-1 then, as elsewhere.
    if (GetACP() == CP_UTF8)
        return codePoint <= 0xFF ? std::optional<quint8>(quint8(codePoint)) : std::nullopt;
    const QString text = QString::fromUcs4(&codePoint, 1);
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const int written =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, reinterpret_cast<LPCWCH>(text.utf16()),
                            int(text.size()), bytes, int(sizeof bytes), nullptr, &usedDefault);
    if (written != 1 || usedDefault)
        return std::nullopt;
    return quint8(bytes[0]);
}

} // namespace velk::linecharset
