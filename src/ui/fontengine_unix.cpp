#include "ui/fontengine.h"

namespace velk {

// The desktop's own FreeType rendering already draws every caption whole.
QByteArray platformRequest(const QByteArray& requested) {
    return requested;
}

} // namespace velk
