#include "port/outputqueue.h"

#include <windows.h>

namespace velk {

qint64 systemOutputQueue(const QSerialPort& port) {
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(port.handle(), &errors, &status))
        return 0;
    return qint64(status.cbOutQue);
}

} // namespace velk
