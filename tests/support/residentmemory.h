#pragma once

#include <QtGlobal>

namespace velk::test {

// The bytes of memory the process holds in RAM, or -1 when the system does not say.
qint64 residentBytes();

} // namespace velk::test
