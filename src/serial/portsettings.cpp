#include "serial/portsettings.h"

namespace velk {

QString PortSettings::settingsText() const {
    return baudRate + QLatin1Char(',') + parityLetter + QLatin1Char(',') + dataBits +
           QLatin1Char(',') + stopBits;
}

} // namespace velk
