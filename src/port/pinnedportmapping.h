#pragma once

#include "port/portmapping.h"

#include <memory>

namespace velk {

// One Comport number pinned to a device given by name; every other number reaches its device
// through the mapping it falls back to.
class PinnedPortMapping : public PortMapping {
public:
    PinnedPortMapping(QString device, int number, std::unique_ptr<PortMapping> fallback)
        : m_device(std::move(device)), m_number(number), m_fallback(std::move(fallback)) {}

    QString deviceFor(int number) const override {
        if (number == m_number)
            return m_device;
        return m_fallback ? m_fallback->deviceFor(number) : QString();
    }

private:
    QString m_device;
    int m_number;
    std::unique_ptr<PortMapping> m_fallback;
};

} // namespace velk
