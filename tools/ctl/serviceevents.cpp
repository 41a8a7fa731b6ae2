#include "ctl/serviceevents.h"

#include <iterator>

namespace velk::serviceevents {

namespace {

// What the sync and the bridge say when each of these happens, in the order they are tried.
struct Phrase {
    const char* text;
    Id id;
};
constexpr Phrase kPhrases[] = {
    {"sync on", kStarted},
    {"bridge for ", kStarted},
    {"sync off", kStopped},
    {"PC clock: not synchronised", kClockNotSynchronised},
    {"no clock groups until ", kLineLost},
    {"clock groups go on from the next whole minute", kLineBack},
    {"refused:", kRefusedCommand},
};

} // namespace

Id idFor(const QString& line) {
    for (const Phrase& phrase : kPhrases) {
        if (line.contains(QLatin1String(phrase.text)))
            return phrase.id;
    }
    return kOther;
}

} // namespace velk::serviceevents
