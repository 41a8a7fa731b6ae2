// The bridge plugin's entry: velk-ctl's runBridge (ctl/bridgeload.cpp) hands over to the real
// one here.
#include "ctl/bridgeplugin.h"
#include "ctl/bridgerun.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT int velk_run_bridge(const velk::CtlOptions& options,
                                             velk::Line& port, const velk::LocalClock& clock,
                                             const velk::ClockStateSource& clockState) {
    return velk::runBridge(options, port, clock, clockState);
}
