#pragma once

namespace velk {

// A window program on Windows starts without a console, so what it prints (help, a refused
// option) would go nowhere. Started from a command prompt, it writes to that prompt's console
// instead. Elsewhere standard output and error are already where the user looks.
void useParentConsole();

// Sends Qt's log output to the standard error output whenever that is a file, a pipe or a
// console, as on Linux. On Windows Qt would otherwise hand a window program's log (and that of
// a program whose console is not its own) to the debugger, where nobody reads it. Into a file or
// a pipe each line goes with the local date and time, except into the journal, which stamps its
// own. Called once, before anything is logged.
void logToStandardError();

} // namespace velk
