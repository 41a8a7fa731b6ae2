#include "ui/fontengine.h"

#include <QtGlobal>

namespace velk {

void requestFontEngine() {
    const QByteArray requested = qgetenv("QT_QPA_PLATFORM");
    const QByteArray wanted = platformRequest(requested);
    if (wanted != requested)
        qputenv("QT_QPA_PLATFORM", wanted);
}

} // namespace velk
