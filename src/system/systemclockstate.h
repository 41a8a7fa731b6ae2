#pragma once

#include "controls/clockstate.h"

namespace velk {

// The PC clock's state as the operating system keeps it: the kernel's NTP state on Linux (read
// only, no privilege needed), the Windows Time service's on Windows.
class SystemClockState : public ClockStateSource {
public:
    ClockState read() const override;

    // The kernel's verdict from its maximum and estimated error, in microseconds: synchronised
    // while the maximum error is below 16 s. The kernel raises the maximum error to 16 s once no
    // time service has disciplined the clock for a while, which the "unsynchronised" status flag
    // alone does not tell reliably (a service may set it to keep the kernel off the RTC).
    static ClockState fromKernel(qint64 maxErrorUs, qint64 estimatedErrorUs);
    static constexpr qint64 kMaxErrorLimitUs = 16'000'000;
};

} // namespace velk
