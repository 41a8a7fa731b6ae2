#pragma once

#include <QDateTime>
#include <QString>

namespace velk {

// The PC's wall clock, the only way the panel reads the time.
class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual QDateTime now() const = 0;

    // Fixed formats that never follow the user's regional settings.
    QString timeText() const; // "hh:mm:ss", 24-hour
    QString dateText() const; // "mm-dd-yyyy"
    // Formats the current time by a Qt pattern in the C locale ("hh:mm:ss", "hh:mm:ss AP").
    QString format(const QString& pattern) const;
};

// The real wall clock of the PC.
class SystemClock : public LocalClock {
public:
    QDateTime now() const override;
};

} // namespace velk
