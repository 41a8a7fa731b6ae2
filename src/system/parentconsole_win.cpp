#include "system/parentconsole.h"

#include "controls/logging.h"

#include <QByteArray>

#include <cstdio>
#include <io.h>
#include <windows.h>

namespace velk {

namespace {

DWORD fileType(std::FILE* stream) {
    const int descriptor = _fileno(stream);
    const auto handle = descriptor >= 0 ? HANDLE(_get_osfhandle(descriptor)) : INVALID_HANDLE_VALUE;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr ? GetFileType(handle)
                                                               : FILE_TYPE_UNKNOWN;
}

bool leadsSomewhere(std::FILE* stream) {
    return fileType(stream) != FILE_TYPE_UNKNOWN;
}

} // namespace

void useParentConsole() {
    // Started from a shortcut there is no console to attach to; nothing is shown then, and the
    // exit status still tells a script what happened.
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // A stream redirected to a file or a pipe (velk-pro 2>log) stays where it was sent.
    std::FILE* unused = nullptr;
    if (!leadsSomewhere(stdout))
        freopen_s(&unused, "CONOUT$", "w", stdout);
    if (!leadsSomewhere(stderr))
        freopen_s(&unused, "CONOUT$", "w", stderr);
}

void logToStandardError() {
    // Qt writes its log with the C library's stderr, so that is the stream that must lead
    // somewhere; a window program started without redirection has none.
    if (leadsSomewhere(stderr))
        qputenv("QT_FORCE_STDERR_LOGGING", QByteArray("1"));
    // A console shows the log as it happens; a file or a pipe keeps it for later.
    const DWORD type = fileType(stderr);
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE)
        stampLogLines();
}

} // namespace velk
