#include "ui/fontengine.h"

namespace velk {

// The windows plugin draws text through GDI by default, and Wine's GDI drops the one-pixel stem
// of "I" in the 8.25-point captions and leaves gaps between the underscores of the rules.
// FreeType draws the same faces at the same sizes whole, as it does on Linux.
QByteArray platformRequest(const QByteArray& requested) {
    if (!requested.isEmpty())
        return requested;
    return QByteArrayLiteral("windows:fontengine=freetype");
}

} // namespace velk
