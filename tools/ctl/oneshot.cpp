#include "ctl/oneshot.h"

#include "clock/clockcapture.h"
#include "ctl/ctloptions.h"
#include "ctl/ctlport.h"
#include "port/line.h"
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
    case CtlOptions::Command::Clock:
    case CtlOptions::Command::Bridge:
    case CtlOptions::Command::ServiceInstall:
    case CtlOptions::Command::ServiceRemove:
        break;
    }
}

void runOnce(const CtlOptions& options, Line& port, const LocalClock& clock, OnceDone done) {
    openChosenPort(port, options, [&options, &port, &clock, done](const QString& failure) {
        if (!failure.isEmpty())
            return done(1, failure);
        LoggedMessages messages;
        Transmitter transmitter(port, messages);
        writeCommand(options, transmitter, clock);
        port.close([done](qint64 unsent) {
            if (unsent > 0)
                return done(1, unsentBytesDescription(unsent));
            done(0, {});
        });
    });
}

} // namespace velk
