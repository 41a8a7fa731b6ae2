// The bridge plugin's entries: velk-ctl's runBridge and runOnBus (ctl/bridgeload.cpp) hand over
// to the real ones here.
#include "ctl/bridgeplugin.h"
#include "ctl/bridgerun.h"
#include "ctl/busrun.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT int velk_run_bridge(const velk::CtlOptions& options, velk::Line& port,
                                             const velk::LocalClock& clock,
                                             const velk::ClockStateSource& clockState) {
    return velk::runBridge(options, port, clock, clockState);
}

extern "C" Q_DECL_EXPORT void velk_run_on_bus(const velk::CtlOptions& options,
                                              std::function<void(const QString&)> report,
                                              velk::BusDone done) {
    velk::runOnBus(options, std::move(report), std::move(done));
}
