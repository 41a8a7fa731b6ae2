#include "system/parentconsole.h"

namespace velk {

void useParentConsole() {}

void logToStandardError() {
    // Qt writes its log to the standard error output here already.
}

} // namespace velk
