#include "port/buslines.h"

namespace velk {

// The Windows build has no MQTT library yet.
QString busLinesMissing() {
    return QStringLiteral("bus lines (mqtt://, mqtts://) are not available in the Windows build "
                          "yet");
}

} // namespace velk
