#pragma once

#include "wire/lineevent.h"

#include <QByteArray>
#include <QString>
#include <QTime>

namespace velk {

// The event in plain words, e.g. `title to address 5: "AB"` or `INVALID 2F 58 (...)`.
QString describeEvent(const LineEvent& event);

// One output line: the local time with milliseconds ("14:05:00.012"), a blank, the words.
QString formatLine(const QTime& time, const LineEvent& event);

// "2F 54 05": two upper-case hex digits per byte, separated by blanks.
QString hexBytes(const QByteArray& bytes);

// Title text in double quotes, with the quote, the backslash and every control character
// escaped, so a title can never break the output line.
QString quoteText(const QString& text);

// "14:05 on 19 March, year 07"; notes a day the month does not have.
QString describeClockSetting(const ClockSetting& clock);

} // namespace velk
