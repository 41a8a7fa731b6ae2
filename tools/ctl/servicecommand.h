#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

namespace velk {

class PortOptions;
struct CtlOptions;

// `velk-ctl service install|remove`: the minute sync as a Windows service, one per port.
namespace servicecommand {

// The option the service's own command line carries: `sync` then runs under the Service
// Control Manager. Not for users, so not in the help.
QCommandLineOption runOption();

// Reads the words after `service` into `options`; false with a one-line options.error.
bool read(const QStringList& words, const PortOptions& port, CtlOptions& options);
// A `sync` started with runOption(): refused where there are no Windows services.
bool readRunOption(CtlOptions& options);

// The port as Windows names it, e.g. COM3.
QString portName(const CtlOptions& options);
// The service's name for the options' port: "VELK-Pro sync COM3".
QString serviceName(const CtlOptions& options);
// What the service runs: velk-ctl with the options' port and settings, `sync` under the manager.
QStringList serviceArguments(const CtlOptions& options);

} // namespace servicecommand

} // namespace velk
