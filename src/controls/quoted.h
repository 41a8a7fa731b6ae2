#pragma once

#include <QString>

namespace velk {

// A value the operator gave, in double quotes, as every refusal names it.
inline QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace velk
