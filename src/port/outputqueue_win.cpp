#include "port/outputqueue.h"

#include <windows.h>

namespace velk {

qint64 systemOutputQueue(qintptr handle) {
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(reinterpret_cast<HANDLE>(handle), &errors, &status))
        return 0;
    return qint64(status.cbOutQue);
}

} // namespace velk
