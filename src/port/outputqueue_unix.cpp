#include "port/outputqueue.h"

#include <sys/ioctl.h>
#include <termios.h>

namespace velk {

qint64 systemOutputQueue(const QSerialPort& port) {
    int queued = 0;
    if (::ioctl(port.handle(), TIOCOUTQ, &queued) != 0)
        return 0;
    return qMax(queued, 0);
}

} // namespace velk
