#pragma once

#include "controls/linesettings.h"

#include <QString>
#include <QStringList>

namespace velk {

// Every description the serial port gives an operator, worded in this one place.

enum class OpenFailure {
    Busy,             // another program holds the port
    PermissionDenied, // the account may not use serial ports
    NoSuchDevice,     // nothing at that device path (cable, adapter, wrong port)
    NotResponding,    // an input/output error: no hardware behind the name, or a failing adapter
    Other,
};

// Where the operator picks another port: the window's SETTING, or velk-ctl's --port.
enum class PortChooser { Window, CommandLine };

// Why `device` could not be opened and what to do about it. `detail` is the system's own error
// text, used for OpenFailure::Other; `presentPorts` lists the serial ports the system reports.
QString openFailureDescription(OpenFailure failure, const QString& device, const QString& detail,
                               const QStringList& presentPorts,
                               PortChooser chooser = PortChooser::Window);

enum class NetworkFailure {
    Refused,       // nothing serves that port on the host
    UnknownHost,   // the name does not resolve
    NoAnswer,      // no connection or no answer to the line settings in time
    NoLineControl, // the server does not take line settings (not an RFC 2217 port)
    Dropped,       // the connection ended while opening
    Other,
};

// Why the device server at `endpoint` (HOST:PORT) could not be reached, and what to do about it.
// `detail` is the system's own error text, used for NetworkFailure::Other.
QString networkFailureDescription(NetworkFailure failure, const QString& endpoint,
                                  const QString& detail);

QString portAlreadyOpenDescription();
QString portNumberOutOfRangeDescription(int number);
// Why a port may not take Comport `number` now; empty when it may.
QString portNumberRefusal(int number, bool portOpen);
// A device server closed the line at `endpoint` soon after it opened.
QString takenOverDescription(const QString& endpoint);
// Bytes that closing the port could not hand to the line, and why.
QString unsentBytesDescription(qint64 count);
// An open port took only part of the requested settings and now holds `held`.
QString settingsRefusedDescription(const QString& device, const QString& requested,
                                   const QString& held);
// The same for a device server's answer, which may hold values the status bar's form cannot
// name (a stop size 0, say): what it keeps in that form, and which parts it left unnamed.
QString settingsRefusedDescription(const QString& device, const LineSettings& requested,
                                   const LineSettings& held);

} // namespace velk
