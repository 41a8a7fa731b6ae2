#include "ui/closerequestfilter.h"

#include <QCoreApplication>

namespace velk {

CloseRequestFilter::CloseRequestFilter(QWidget& window) : m_window(window) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

} // namespace velk
