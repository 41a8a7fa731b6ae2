#include "monitor/linesummary.h"

#include "monitor/lineformat.h"

namespace velk {

namespace {
using frames::kClockFieldCount;
using frames::kClockFields;

QString shown(const QString& title) {
    return title.isEmpty() ? QStringLiteral("nothing (cleared)") : quoteText(title);
}
} // namespace

void LineSummary::apply(const LineEvent& event) {
    switch (event.kind) {
    case LineEvent::Kind::Title:
    case LineEvent::Kind::Clear:
        if (event.address == frames::kAllDevices) {
            m_titles.clear();
            m_allDevices = event.text;
        } else {
            m_titles[event.address] = event.text;
        }
        break;
    case LineEvent::Kind::ClockField:
        m_clock[frames::clockFieldIndex(event.letter)] = event.value;
        break;
    case LineEvent::Kind::ClockGroup:
    case LineEvent::Kind::Invalid:
        break;
    }
}

QStringList LineSummary::lines() const {
    const QString prefix = QStringLiteral("summary: ");
    QStringList lines;
    for (const auto& [address, title] : m_titles)
        lines << prefix + QStringLiteral("address %1 shows ").arg(address) + shown(title);

    const QString others =
        m_titles.empty() ? QStringLiteral("every address") : QStringLiteral("every other address");
    if (m_allDevices)
        lines << prefix + others + QStringLiteral(" shows ") + shown(*m_allDevices) +
                     QStringLiteral(" (last title to all devices)");
    else
        lines << prefix + others + QStringLiteral(": no title seen");

    bool complete = true;
    bool any = false;
    QStringList fields;
    for (int i = 0; i < kClockFieldCount; ++i) {
        complete = complete && m_clock[i].has_value();
        any = any || m_clock[i].has_value();
        fields << QString::fromLatin1(kClockFields[i].name) + QLatin1Char(' ') +
                      (m_clock[i] ? QStringLiteral("%1").arg(*m_clock[i], 2, 10, QLatin1Char('0'))
                                  : QStringLiteral("--"));
    }
    if (complete) {
        const ClockSetting clock{*m_clock[0], *m_clock[1], *m_clock[2], *m_clock[3], *m_clock[4]};
        lines << prefix + QStringLiteral("clock last set to ") + describeClockSetting(clock);
    } else if (any) {
        lines << prefix + QStringLiteral("clock fields last sent: ") +
                     fields.join(QStringLiteral(", ")) + QStringLiteral(" (-- not seen)");
    } else {
        lines << prefix + QStringLiteral("no clock frames seen");
    }
    return lines;
}

} // namespace velk
