#pragma once

#include <QString>
#include <optional>

namespace velk {

class PortOptions;

// Who a client of a bus line is on the broker: its user and password (empty: anonymous) and,
// for mqtts://, the certificate authority (empty: the system's).
struct BrokerAccess {
    QString user;
    QString password;
    QString caFile;

    // From --credentials and --ca as `port` read them; nothing, with a one-line `why` naming the
    // option, when the credentials file is refused.
    static std::optional<BrokerAccess> read(const QString& credentialsFile, const QString& caFile,
                                            QString* why);
};

} // namespace velk
