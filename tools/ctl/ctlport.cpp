#include "ctl/ctlport.h"

#include "controls/logging.h"
#include "controls/serialport.h"
#include "ctl/ctloptions.h"

namespace velk {

QString openChosenPort(SerialPort& port, const CtlOptions& options) {
    QString why;
    if (!port.setPortNumber(options.port.number, &why) || !port.setSettings(options.line, &why))
        return why;
    return port.open();
}

void LoggedMessages::show(const QString& text, const QString&, Icon) {
    qCWarning(lcUi).noquote() << text;
}

} // namespace velk
