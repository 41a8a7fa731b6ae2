#pragma once

#include <QByteArray>
#include <QProcess>

namespace velk::test {

// Waits until `channel` of a running program has printed `text`, collecting what it printed in
// `seen`. False when the program ended or `timeoutMs` passed first.
bool waitForOutput(QProcess& process, QProcess::ProcessChannel channel, QByteArray& seen,
                   const QByteArray& text, int timeoutMs = 15000);

} // namespace velk::test
