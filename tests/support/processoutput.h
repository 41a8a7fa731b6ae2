#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace velk::test {

// Waits until `channel` of a running program has printed `text`, collecting what it printed in
// `seen`. False when the program ended or `timeoutMs` passed first.
bool waitForOutput(QProcess& process, QProcess::ProcessChannel channel, QByteArray& seen,
                   const QByteArray& text, int timeoutMs = 15000);

// How a program run to its end ended: its exit status (-1 when it did not end normally within
// the time) and what it printed on standard error.
struct ProgramRun {
    int status = -1;
    QString err;
};
ProgramRun runProgram(const QString& path, const QStringList& arguments, int timeoutMs = 15000);

} // namespace velk::test
