#include "system/systemclockstate.h"

#include "controls/clockstatetext.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace velk {

namespace {

// The head of the Windows Time service's status record, as far as it is read here. Delay and
// dispersion are counted in 100 ns.
struct W32TimeStatusHead {
    std::uint32_t size;
    std::uint32_t leapIndicator; // 3: not synchronised
    std::uint32_t stratum;
    std::int32_t pollInterval;
    std::uint32_t referenceId;
    std::uint64_t lastSyncTicks;
    std::int64_t rootDelay;
    std::uint64_t rootDispersion;
};

using QueryStatus = DWORD(WINAPI*)(W32TimeStatusHead**);
using BufferFree = void(WINAPI*)(void*);

// An exported function by name, of the type the caller knows it to have; null when missing.
template <typename Function> Function procedure(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

ClockState unknown(const QString& why) {
    ClockState state;
    state.detail = why;
    return state;
}

} // namespace

ClockState SystemClockState::read() const {
    // Loaded at run time: the library is missing on some systems (and under Wine) and then the
    // state is simply unknown.
    HMODULE library = ::LoadLibraryW(L"w32time.dll");
    if (!library)
        return unknown(QStringLiteral("w32time cannot be loaded"));
    const auto query = procedure<QueryStatus>(library, "W32TimeQueryStatus");
    const auto release = procedure<BufferFree>(library, "W32TimeBufferFree");
    ClockState state = unknown(QStringLiteral("w32time cannot be read"));
    W32TimeStatusHead* status = nullptr;
    if (query && release && query(&status) == ERROR_SUCCESS && status) {
        if (status->size >= sizeof(W32TimeStatusHead)) {
            const bool synced =
                status->leapIndicator != 3 && status->stratum >= 1 && status->stratum <= 15;
            state.sync =
                synced ? ClockState::Sync::Synchronised : ClockState::Sync::NotSynchronised;
            state.detail = QStringLiteral("stratum %1").arg(status->stratum);
            if (synced) {
                // The root distance: half the way to the reference and back, plus its dispersion.
                const qint64 hundredNs =
                    qMax<qint64>(status->rootDelay, 0) / 2 + qint64(status->rootDispersion);
                state.estimatedErrorUs = hundredNs / 10;
            }
        }
        release(status);
    }
    ::FreeLibrary(library);
    return state;
}

} // namespace velk
