#include "system/parentconsole.h"

namespace velk {

void useParentConsole() {}

} // namespace velk
