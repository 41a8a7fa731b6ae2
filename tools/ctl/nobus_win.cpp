#include "ctl/busrun.h"

// Bus lines need libmosquitto, which the Windows build does not have; their names are refused
// before anything runs (see busLinesMissing).

namespace velk {

void runOnBus(const CtlOptions&, std::function<void(const QString&)>, BusDone done) {
    done(2, QStringLiteral("bus lines are not in the Windows build"));
}

} // namespace velk
