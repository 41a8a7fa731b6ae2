#pragma once

#include <QString>

namespace velk {

// What libmosquitto leaves in errno after a failed call, as text: the system's error (the C
// library's on Linux, Winsock's on Windows) and getaddrinfo's.
QString systemErrorText(int code);
QString lookupErrorText(int code);

// Whether `socket`, connecting without blocking, has reached its peer. Once the socket says it
// is ready and this is false, the connection was not made; `error` is then the system's reason
// where the socket still holds it (a failed write may have taken it), 0 otherwise.
bool reachedPeer(int socket, int* error);

} // namespace velk
