#include "support/residentmemory.h"

#include <windows.h>

#include <psapi.h>

namespace velk::test {

qint64 residentBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return qint64(counters.WorkingSetSize);
}

} // namespace velk::test
