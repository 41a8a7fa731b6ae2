#include "bus/socketerrors.h"

#include <cstring>
#include <netdb.h>
#include <sys/socket.h>

namespace velk {

QString systemErrorText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

QString lookupErrorText(int code) {
    return QString::fromLocal8Bit(gai_strerror(code));
}

bool reachedPeer(int socket, int* error) {
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    if (getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &size) == 0)
        return true;
    socklen_t errorSize = sizeof *error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, error, &errorSize) != 0)
        *error = 0;
    return false;
}

} // namespace velk
