#include "serial/portstatustext.h"

namespace velk {

QString openPortStatusText(int portNumber, const QString& portSettings) {
    return QStringLiteral("Com ") + QString::number(portNumber) + QStringLiteral(" : ") +
           portSettings + QStringLiteral("  ");
}

QString closedPortStatusText() {
    return QStringLiteral("Com :  Not Connected    ");
}

} // namespace velk
