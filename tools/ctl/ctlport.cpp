#include "ctl/ctlport.h"

#include "controls/logging.h"
#include "controls/serialport.h"
#include "ctl/ctloptions.h"

namespace velk {

void openChosenPort(SerialPort& port, const CtlOptions& options, SerialPort::Opened opened) {
    QString why;
    if (!port.setPortNumber(options.port.number, &why) || !port.setSettings(options.line, &why))
        return opened(why);
    port.open(std::move(opened));
}

void LoggedMessages::show(const QString& text, const QString&, Icon) {
    qCWarning(lcUi).noquote() << text;
}

} // namespace velk
