#include "controls/localclock.h"

#include <QLocale>

namespace velk {

QString LocalClock::timeText() const {
    return format(QStringLiteral("HH:mm:ss"));
}

QString LocalClock::dateText() const {
    return format(QStringLiteral("MM-dd-yyyy"));
}

QString LocalClock::format(const QString& pattern) const {
    return QLocale::c().toString(now(), pattern);
}

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

} // namespace velk
