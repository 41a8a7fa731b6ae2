#pragma once

#include "wire/frames.h"

#include <QString>
#include <array>

namespace velk {

// One title per position of the address selector ("Master" and the addresses 1 to 254), kept
// for the run only.
class TitleStore {
public:
    static constexpr int kSlotCount = frames::kAddressCount;

    static bool isSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
    // Empty for an unused slot and for a position that has no slot.
    QString title(int slot) const;
    // A position without a slot stores nothing.
    void store(int slot, const QString& text);

private:
    std::array<QString, kSlotCount> m_titles;
};

} // namespace velk
