#include "clock/clockcapture.h"

#include "clock/datetimeentry.h"

namespace velk {

namespace {

// Moves the text before the first `separator` into `target` and keeps what follows it.
void takeField(QString& text, QChar separator, QString& target) {
    const int position = text.indexOf(separator);
    if (position < 0)
        return;
    target = text.left(position);
    text = text.mid(position + 1);
}

} // namespace

ClockCapture::ClockCapture(const LocalClock& clock) : m_clock(clock) {}

void ClockCapture::capturePcClock(DateTimeEntry& entry) {
    ClockValues values = entry.entryClock();
    capture(values);
    entry.setEntryClock(values);
}

void ClockCapture::captureSyncClock() {
    capture(m_sync);
}

void ClockCapture::capture(ClockValues& values) {
    m_clockText = m_clock.timeText();
    takeField(m_clockText, QLatin1Char(':'), values.hour);
    takeField(m_clockText, QLatin1Char(':'), values.minute);
    if (!m_clockText.isEmpty())
        values.second = m_clockText;

    m_clockText = m_clock.dateText();
    takeField(m_clockText, QLatin1Char('-'), values.month);
    takeField(m_clockText, QLatin1Char('-'), values.day);
    // The remainder is the four-digit year; its last two digits are the clock's year.
    if (m_clockText.size() == 4)
        values.year = m_clockText.mid(2, 2);
}

} // namespace velk
