#include "bus/brokercredentials.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace velk {

namespace {

constexpr qint64 kLargestFile = 4096;

std::optional<BrokerCredentials> refuse(QString* why, const QString& reason) {
    if (why)
        *why = reason;
    return std::nullopt;
}

} // namespace

std::optional<BrokerCredentials> BrokerCredentials::read(const QString& path, QString* why) {
    const QString exposed = exposure(path);
    if (!exposed.isEmpty())
        return refuse(why, exposed);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return refuse(why, QStringLiteral("cannot read %1 (expected the user, then the password, "
                                          "on two lines)")
                               .arg(path));
    static const QRegularExpression lineEnd(QStringLiteral("\r?\n"));
    const QStringList lines = QString::fromUtf8(file.read(kLargestFile)).split(lineEnd);
    BrokerCredentials credentials{lines.value(0), lines.value(1)};
    if (credentials.user.isEmpty())
        return refuse(why, QStringLiteral("%1 has no user on its first line").arg(path));
    return credentials;
}

} // namespace velk
