#pragma once

#include <QtGlobal>

namespace velk {

// Bytes the operating system still holds for the line behind an open port's handle, handed over
// but not yet sent; 0 when it cannot tell.
qint64 systemOutputQueue(qintptr handle);

} // namespace velk
