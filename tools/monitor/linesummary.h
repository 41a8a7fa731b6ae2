#pragma once

#include "wire/framelayout.h"
#include "wire/lineevent.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace velk {

// What the devices on the line show after the frames seen so far.
//
// A title to all devices replaces what every device shows, so it wipes the titles sent to single
// addresses before it; an address listed afterwards got its own title later. The clock is the
// last value sent in each clock frame (the devices' clocks have run on since).
class LineSummary {
public:
    void apply(const LineEvent& event);
    // "summary: ..." lines: the addresses in ascending order, every other address, the clock.
    QStringList lines() const;

private:
    std::map<int, QString> m_titles;
    std::optional<QString> m_allDevices;
    std::optional<int> m_clock[frames::kClockFieldCount];
};

} // namespace velk
