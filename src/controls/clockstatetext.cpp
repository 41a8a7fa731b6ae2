#include "controls/clockstatetext.h"

namespace velk {

QString durationText(qint64 microseconds) {
    const double us = double(microseconds);
    if (us < 1000)
        return QStringLiteral("%1 µs").arg(microseconds);
    if (us < 1e6)
        return QStringLiteral("%1 ms").arg(us / 1e3, 0, 'g', 3);
    return QStringLiteral("%1 s").arg(us / 1e6, 0, 'g', 3);
}

QString clockStateLine(const ClockState& state) {
    QString line = QStringLiteral("PC clock: ") + clockStateWord(state.sync);
    if (state.sync == ClockState::Sync::Synchronised && state.estimatedErrorUs)
        line += QStringLiteral(", estimated error ") + durationText(*state.estimatedErrorUs);
    if (!state.detail.isEmpty())
        line += QStringLiteral(" (") + state.detail + QLatin1Char(')');
    return line;
}

} // namespace velk
