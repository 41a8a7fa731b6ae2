#pragma once

#include <QLoggingCategory>

// The panel's diagnostics. Warnings are printed by default; the rest is switched on with
// QT_LOGGING_RULES, e.g. QT_LOGGING_RULES="velk.*=true".
namespace velk {

// velk.serial: the port and its settings, the link's state, every frame written (hex).
Q_DECLARE_LOGGING_CATEGORY(lcSerial)
// velk.sync: the once-a-minute sync of the devices' clocks.
Q_DECLARE_LOGGING_CATEGORY(lcSync)
// velk.ui: what the window tells the operator.
Q_DECLARE_LOGGING_CATEGORY(lcUi)

} // namespace velk
