#pragma once

#include <QString>

namespace velk {

// Which adapter a serial device is, beyond its name: a USB adapter plugged in again often comes
// back under another name (ttyUSB0 as ttyUSB1), and only its vendor, product and serial number
// say it is the same one. Adapters without a serial number cannot be told apart from an
// identical one, and none is ever guessed.
class AdapterIdentity {
public:
    // The identity of `device` (a canonical path) as the system lists it now; unknown when it
    // lists none (a pseudo-terminal, a built-in port).
    static AdapterIdentity of(const QString& device);

    bool isKnown() const { return m_vendor != 0 || m_product != 0; }
    // Known with a serial number: another name can be taken for the same adapter.
    bool canBeFoundElsewhere() const { return isKnown() && !m_serialNumber.isEmpty(); }
    // "0403:6001 serial A50285BI"
    QString text() const;
    // Where the same adapter is now; empty when it is not present, or cannot be told apart.
    QString presentDevice() const;

private:
    quint16 m_vendor = 0;
    quint16 m_product = 0;
    QString m_serialNumber;
};

} // namespace velk
