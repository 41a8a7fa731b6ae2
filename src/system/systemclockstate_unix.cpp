#include "system/systemclockstate.h"

#include <sys/timex.h>

#include <cerrno>
#include <cstring>

namespace velk {

ClockState SystemClockState::read() const {
    // modes 0: reads the state and changes nothing, so no privilege is needed.
    timex state{};
    if (::ntp_adjtime(&state) < 0) {
        ClockState unknown;
        unknown.detail =
            QStringLiteral("ntp_adjtime: ") + QString::fromLocal8Bit(std::strerror(errno));
        return unknown;
    }
    return fromKernel(state.maxerror, state.esterror);
}

} // namespace velk
