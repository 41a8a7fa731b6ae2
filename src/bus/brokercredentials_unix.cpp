#include "bus/brokercredentials.h"

#include <QFileInfo>

namespace velk {

QString BrokerCredentials::exposure(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && (info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)))
        return QStringLiteral("%1 may be read by others; allow only its owner (chmod 600)")
            .arg(path);
    return {};
}

} // namespace velk
