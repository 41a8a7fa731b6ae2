#include "controls/logging.h"

namespace velk {

Q_LOGGING_CATEGORY(lcSerial, "velk.serial", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSync, "velk.sync", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "velk.ui", QtWarningMsg)

} // namespace velk
