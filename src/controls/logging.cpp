#include "controls/logging.h"

namespace velk {

Q_LOGGING_CATEGORY(lcSerial, "velk.serial", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSync, "velk.sync", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "velk.ui", QtWarningMsg)

void stampLogLines() {
    qSetMessagePattern(QStringLiteral(
        "%{time yyyy-MM-dd HH:mm:ss} %{if-category}%{category}: %{endif}%{message}"));
}

bool isJournalStream(const QByteArray& journalStream, quint64 device, quint64 inode) {
    const QList<QByteArray> parts = journalStream.split(':');
    bool deviceRead = false;
    bool inodeRead = false;
    return parts.size() == 2 && parts.at(0).toULongLong(&deviceRead) == device && deviceRead &&
           parts.at(1).toULongLong(&inodeRead) == inode && inodeRead;
}

} // namespace velk
