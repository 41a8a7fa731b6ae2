#include "controls/selector.h"

namespace velk {

bool Selector::setListIndex(int index) {
    if (index < 0 || index >= count())
        return false;
    selectEntry(index);
    raiseClick();
    return true;
}

QStringList twoDigitEntries(int first, int last) {
    QStringList entries;
    for (int value = first; value <= last; ++value)
        entries << QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    return entries;
}

} // namespace velk
