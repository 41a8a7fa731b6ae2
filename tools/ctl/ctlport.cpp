#include "ctl/ctlport.h"

#include "controls/logging.h"
#include "ctl/ctloptions.h"
#include "port/line.h"

namespace velk {

void openChosenPort(Line& port, const CtlOptions& options, Line::Opened opened) {
    QString why;
    if (!port.setName(options.port, &why) || !port.setSettings(options.line, &why))
        return opened(why);
    port.open(std::move(opened));
}

void LoggedMessages::show(const QString& text, const QString&, Icon) {
    qCWarning(lcUi).noquote() << text;
}

} // namespace velk
