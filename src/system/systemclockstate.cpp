#include "system/systemclockstate.h"

#include "controls/clockstatetext.h"

namespace velk {

ClockState SystemClockState::fromKernel(qint64 maxErrorUs, qint64 estimatedErrorUs) {
    ClockState state;
    state.detail = QStringLiteral("maxerror ") + durationText(maxErrorUs);
    if (maxErrorUs >= 0 && maxErrorUs < kMaxErrorLimitUs) {
        state.sync = ClockState::Sync::Synchronised;
        state.estimatedErrorUs = qMax<qint64>(estimatedErrorUs, 0);
    } else {
        state.sync = ClockState::Sync::NotSynchronised;
    }
    return state;
}

} // namespace velk
