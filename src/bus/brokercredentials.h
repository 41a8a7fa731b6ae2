#pragma once

#include <QString>
#include <optional>

namespace velk {

// The user and password a program shows the broker, read from a file of two lines: the user,
// then the password. The file must be readable by its owner only, so that nobody else on the
// machine learns who may drive the displays.
struct BrokerCredentials {
    QString user;
    QString password;

    // Nothing, with a one-line `why` naming the file, when it cannot be read, has no user, or
    // others may read it.
    static std::optional<BrokerCredentials> read(const QString& path, QString* why);
    // Empty when only the file's owner may read it; otherwise the one-line reason, naming the
    // file and what to do. Each platform checks in its own terms.
    static QString exposure(const QString& path);
};

} // namespace velk
