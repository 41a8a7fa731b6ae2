#include "bus/socketerrors.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace velk {

// The library stores Winsock's codes (getaddrinfo's among them) in errno; the system words them.
QString systemErrorText(int code) {
    return qt_error_string(code).trimmed();
}

QString lookupErrorText(int code) {
    return qt_error_string(code).trimmed();
}

bool reachedPeer(int socket, int* error) {
    sockaddr_storage peer{};
    int size = sizeof peer;
    if (getpeername(SOCKET(socket), reinterpret_cast<sockaddr*>(&peer), &size) == 0)
        return true;
    int errorSize = sizeof *error;
    if (getsockopt(SOCKET(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(error),
                   &errorSize) != 0)
        *error = 0;
    return false;
}

} // namespace velk
