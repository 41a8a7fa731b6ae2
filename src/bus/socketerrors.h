#pragma once

#include <QString>

namespace velk {

// What libmosquitto leaves in errno after a failed call, as text: the system's error (the C
// library's on Linux, Winsock's on Windows) and getaddrinfo's.
QString systemErrorText(int code);
QString lookupErrorText(int code);

} // namespace velk
