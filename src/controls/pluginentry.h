#pragma once

#include <QLibrary>
#include <QString>

namespace velk {

// A function exported by one of the plugins the programs load on demand (network lines, the
// MQTT bridge, the panel's bus lines), looked for beside the program (the build tree, the
// Windows folder), then where the package installs it, relative to the program's own folder.
// The plugin stays loaded for the life of the process. Null, with `failure`, when it cannot be
// loaded or lacks the function.
QFunctionPointer pluginEntry(const char* plugin, const char* entry, QString* failure);

} // namespace velk
