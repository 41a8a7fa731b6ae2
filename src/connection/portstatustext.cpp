#include "connection/portstatustext.h"

namespace velk {

QString openPortStatusText(int portNumber, const LineSettings& settings) {
    return QStringLiteral("Com ") + QString::number(portNumber) + QStringLiteral(" : ") +
           settings.text() + QStringLiteral("  ");
}

QString closedPortStatusText() {
    return QStringLiteral("Com :  Not Connected    ");
}

} // namespace velk
