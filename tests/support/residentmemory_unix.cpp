#include "support/residentmemory.h"

#include <QFile>
#include <QList>

#include <unistd.h>

namespace velk::test {

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    return fields.size() < 2 ? -1 : fields[1].toLongLong() * sysconf(_SC_PAGESIZE);
}

} // namespace velk::test
