#pragma once

#include "controls/messagebox.h"
#include "port/line.h"

#include <QString>

namespace velk {

struct CtlOptions;

// Sets the port to the options' Comport number and line settings and opens it; `opened` hears
// nothing on success, otherwise the port's own description of why not, as the panel shows it.
void openChosenPort(Line& port, const CtlOptions& options, Line::Opened opened);

// Nobody watches a window here: what the panel would show in a box goes to the log.
class LoggedMessages : public MessageBox {
public:
    void show(const QString& text, const QString& title, Icon icon) override;
};

} // namespace velk
