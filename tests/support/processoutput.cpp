#include "support/processoutput.h"

#include <QDeadlineTimer>

namespace velk::test {

bool waitForOutput(QProcess& process, QProcess::ProcessChannel channel, QByteArray& seen,
                   const QByteArray& text, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    process.setReadChannel(channel);
    while (!seen.contains(text)) {
        if (process.state() != QProcess::Running || deadline.hasExpired())
            return false;
        process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        seen += process.readAll();
    }
    return true;
}

} // namespace velk::test
