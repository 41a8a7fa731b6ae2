#include "ctl/oneshot.h"

#include "clock/clockcapture.h"
#include "controls/serialport.h"
#include "ctl/ctloptions.h"
#include "ctl/ctlport.h"
#include "port/portdescriptions.h"
#include "transmit/transmitter.h"
#include "wire/frames.h"

namespace velk {

namespace {

void writeCommand(const CtlOptions& options, SerialPort& port, const LocalClock& clock) {
    LoggedMessages messages;
    Transmitter transmitter(port, messages);
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
    case CtlOptions::Command::Clock:
    case CtlOptions::Command::ServiceInstall:
    case CtlOptions::Command::ServiceRemove:
        break;
    }
}

} // namespace

void runOnce(const CtlOptions& options, SerialPort& port, const LocalClock& clock, OnceDone done) {
    openChosenPort(port, options, [&options, &port, &clock, done](const QString& failure) {
        if (!failure.isEmpty())
            return done(1, failure);
        writeCommand(options, port, clock);
        port.close([done](qint64 unsent) {
            if (unsent > 0)
                return done(1, unsentBytesDescription(unsent));
            done(0, {});
        });
    });
}

} // namespace velk
