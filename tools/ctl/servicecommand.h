#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace velk {

class PortOptions;
struct CtlOptions;

// `velk-ctl service install|remove [bridge]`: the minute sync, or the MQTT bridge, as a Windows
// service, one per line.
namespace servicecommand {

// The option the service's own command line carries: `sync` or `bridge` then runs under the
// Service Control Manager. Not for users, so not in the help.
QCommandLineOption runOption();

// Reads the words after `service` into `options`, with the bridge's options from `parser` for
// `install bridge`; false with a one-line options.error.
bool read(const QStringList& words, const PortOptions& port, const QCommandLineParser& parser,
          CtlOptions& options);
// A `sync` or `bridge` started with runOption(): refused where there are no Windows services.
bool readRunOption(CtlOptions& options);

// The line as the service's command line names it: COM3, \\.\COM20, rfc2217://HOST:PORT.
QString portName(const CtlOptions& options);
// The line in the service's name: COM3, COM20, or HOST_PORT for a network line.
QString lineName(const CtlOptions& options);
// The service's name: "VELK-Pro sync COM3", "VELK-Pro bridge host_4001".
QString serviceName(const CtlOptions& options);
// The name of the other kind of service on the same line, which must not run beside this one.
QString rivalName(const CtlOptions& options);
// What the service runs: velk-ctl with the options' line and settings, then `sync` or `bridge`
// with its options, under the manager.
QStringList serviceArguments(const CtlOptions& options);

} // namespace servicecommand

} // namespace velk
