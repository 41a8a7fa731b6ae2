#include "bus/socketerrors.h"

#include <cstring>
#include <netdb.h>

namespace velk {

QString systemErrorText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

QString lookupErrorText(int code) {
    return QString::fromLocal8Bit(gai_strerror(code));
}

} // namespace velk
