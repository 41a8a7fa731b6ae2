#include "system/parentconsole.h"

#include "controls/logging.h"

#include <sys/stat.h>
#include <unistd.h>

namespace velk {

void useParentConsole() {}

void logToStandardError() {
    // Qt writes its log to the standard error output here already; a terminal shows it as it
    // happens, a file or a pipe keeps it for later.
    struct stat target {};
    if (fstat(STDERR_FILENO, &target) != 0)
        return;
    const bool kept =
        S_ISREG(target.st_mode) || S_ISFIFO(target.st_mode) || S_ISSOCK(target.st_mode);
    if (kept &&
        !isJournalStream(qgetenv("JOURNAL_STREAM"), quint64(target.st_dev), quint64(target.st_ino)))
        stampLogLines();
}

} // namespace velk
