#include "connection/portstatustext.h"

namespace velk {

QString openPortStatusText(const QString& line, const LineSettings& settings) {
    return line + QStringLiteral(" : ") + settings.text() + QStringLiteral("  ");
}

QString closedPortStatusText() {
    return QStringLiteral("Com :  Not Connected    ");
}

} // namespace velk
