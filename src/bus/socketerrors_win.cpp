#include "bus/socketerrors.h"

namespace velk {

// The library stores Winsock's codes (getaddrinfo's among them) in errno; the system words them.
QString systemErrorText(int code) {
    return qt_error_string(code).trimmed();
}

QString lookupErrorText(int code) {
    return qt_error_string(code).trimmed();
}

} // namespace velk
