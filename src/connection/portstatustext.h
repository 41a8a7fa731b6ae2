#pragma once

#include "controls/linesettings.h"

#include <QString>

namespace velk {

// The link panel's text while the port is open, e.g. "Com 1 : 9600,N,8,1  " (two trailing
// blanks), made from what the open port holds.
// `line` names the line as the port does: "Com 1", or "HOST:PORT" for a network line.
QString openPortStatusText(const QString& line, const LineSettings& settings);

// The link panel's text while the port is closed: "Com :  Not Connected    " (24 characters).
QString closedPortStatusText();

} // namespace velk
