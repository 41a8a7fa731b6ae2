// From a step of the wall clock to the minute wait armed again: the Ticker on the system's
// wall-clock alarm, as velk-ctl and the panel run it, while the clock is set (to the time it
// reads, so nothing moves but the kernel's notice) REPEATS times. Needs the right to set the
// clock (root); prints one line either way.
//
//   bench-clock-step [REPEATS]

#include "clocksync/ticker.h"
#include "controls/localclock.h"
#include "system/systemwallclockalarm.h"

#include <QCoreApplication>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

qint64 monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Notes when it is armed, so the time from the step to the new wait can be read.
class TimedAlarm : public velk::SystemWallClockAlarm {
public:
    void armAt(qint64 msecsSinceEpoch) override {
        SystemWallClockAlarm::armAt(msecsSinceEpoch);
        armedNs = monotonicNs();
    }
    qint64 armedNs = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (geteuid() != 0) {
        std::printf("clock step to re-armed minute wait: not measured (setting the clock needs "
                    "root)\n");
        return 0;
    }
    velk::SystemClock clock;
    TimedAlarm alarm;
    velk::Ticker ticker(clock, &alarm);
    ticker.start();
    std::vector<double> micros;
    qint64 steppedNs = 0;
    QTimer step;
    step.setInterval(300);
    QObject::connect(&step, &QTimer::timeout, [&] {
        if (steppedNs != 0 && alarm.armedNs > steppedNs)
            micros.push_back(double(alarm.armedNs - steppedNs) / 1000.0);
        if (int(micros.size()) == repeats || (steppedNs != 0 && alarm.armedNs <= steppedNs)) {
            QCoreApplication::quit();
            return;
        }
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        steppedNs = monotonicNs();
        clock_settime(CLOCK_REALTIME, &now);
    });
    step.start();
    QCoreApplication::exec();
    if (int(micros.size()) != repeats) {
        std::printf("clock step to re-armed minute wait: FAILED (the wait was not re-armed)\n");
        return 1;
    }
    std::sort(micros.begin(), micros.end());
    std::printf("clock step to re-armed minute wait (%d steps): min/median/max %.3f / %.3f / %.3f "
                "ms\n",
                repeats, micros.front() / 1000, micros[micros.size() / 2] / 1000,
                micros.back() / 1000);
    return 0;
}
