#include "support/systemset.h"

#include <windows.h>

namespace velk::test {

// Where the euro sign stands in the Windows code pages that have one.
QByteArray euroBytes() {
    switch (GetACP()) {
    case 1251:
        return QByteArray("\x88");
    case 1250:
    case 1252:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
        return QByteArray("\x80");
    default:
        return {};
    }
}

} // namespace velk::test
