#include "ctl/oneshot.h"

#include "clock/clockcapture.h"
#include "controls/serialport.h"
#include "ctl/ctloptions.h"
#include "ctl/ctlport.h"
#include "port/portdescriptions.h"
#include "transmit/transmitter.h"
#include "wire/frames.h"

namespace velk {

void writeCommand(const CtlOptions& options, Transmitter& transmitter, const LocalClock& clock) {
    switch (options.command) {
    case CtlOptions::Command::Title:
        transmitter.sendBytes(frames::titleFrame(options.address, options.title));
        break;
    case CtlOptions::Command::Clear:
        transmitter.sendBytes(frames::clearFrame(options.address));
        break;
    case CtlOptions::Command::Time:
        if (options.clock) {
            transmitter.writeClockGroup(*options.clock);
        } else {
            // What Update Time puts into the drop-downs, sent as Set Time sends them.
            ClockCapture capture(clock);
            capture.captureSyncClock();
            transmitter.writeClockGroup(capture.syncClock());
        }
        break;
    case CtlOptions::Command::Sync:
    case CtlOptions::Command::Bridge:
        break;
    }
}

int runOnce(const CtlOptions& options, SerialPort& port, const LocalClock& clock, QString* why) {
    if (QString failure = openChosenPort(port, options); !failure.isEmpty()) {
        *why = std::move(failure);
        return 1;
    }
    LoggedMessages messages;
    Transmitter transmitter(port, messages);
    writeCommand(options, transmitter, clock);
    if (const qint64 unsent = port.close(); unsent > 0) {
        *why = unsentBytesDescription(unsent);
        return 1;
    }
    return 0;
}

} // namespace velk
