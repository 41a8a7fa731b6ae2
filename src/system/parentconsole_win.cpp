#include "system/parentconsole.h"

#include <cstdio>
#include <windows.h>

namespace velk {

void useParentConsole() {
    // Started from a shortcut there is no console to attach to; nothing is shown then, and the
    // exit status still tells a script what happened.
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    std::FILE* unused = nullptr;
    freopen_s(&unused, "CONOUT$", "w", stdout);
    freopen_s(&unused, "CONOUT$", "w", stderr);
}

} // namespace velk
