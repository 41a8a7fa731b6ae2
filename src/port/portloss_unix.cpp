#include "port/portloss.h"

#include <poll.h>

namespace velk::portloss {

Verdict classify(QSerialPort::SerialPortError kind, const QString&) {
    switch (kind) {
    case QSerialPort::ResourceError:
        return Verdict::Lost;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        // A terminal reports a vanished device as EIO, like many passing faults.
        return Verdict::AskTheLine;
    default:
        return Verdict::Alive;
    }
}

bool hungUp(const QSerialPort& port) {
    // A terminal whose device is gone is hung up: reads return nothing and poll reports it at
    // once, forever. A passing error on a live line shows no hang-up.
    pollfd watched{int(port.handle()), POLLOUT, 0};
    if (::poll(&watched, 1, 0) < 0)
        return true;
    return (watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace velk::portloss
