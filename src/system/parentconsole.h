#pragma once

namespace velk {

// A window program on Windows starts without a console, so what it prints (help, a refused
// option) would go nowhere. Started from a command prompt, it writes to that prompt's console
// instead. Elsewhere standard output and error are already where the user looks.
void useParentConsole();

} // namespace velk
