#include "bus/brokeraccess.h"

#include "bus/brokercredentials.h"

namespace velk {

std::optional<BrokerAccess> BrokerAccess::read(const QString& credentialsFile,
                                               const QString& caFile, QString* why) {
    BrokerAccess access;
    access.caFile = caFile;
    if (credentialsFile.isEmpty())
        return access;
    QString reason;
    const std::optional<BrokerCredentials> credentials =
        BrokerCredentials::read(credentialsFile, &reason);
    if (!credentials) {
        if (why)
            *why = QStringLiteral("--credentials: ") + reason;
        return std::nullopt;
    }
    access.user = credentials->user;
    access.password = credentials->password;
    return access;
}

} // namespace velk
