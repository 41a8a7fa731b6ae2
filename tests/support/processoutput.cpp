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

ProgramRun runProgram(const QString& path, const QStringList& arguments, int timeoutMs) {
    QProcess program;
    program.start(path, arguments);
    if (!program.waitForFinished(timeoutMs) || program.exitStatus() != QProcess::NormalExit)
        return {};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardError())};
}

} // namespace velk::test
