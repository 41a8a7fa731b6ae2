#pragma once

#include <QLoggingCategory>

// The panel's diagnostics. Warnings are printed by default; the rest is switched on with
// QT_LOGGING_RULES, e.g. QT_LOGGING_RULES="velk.*=true".
namespace velk {

// velk.serial: the port and its settings, the link's state, every frame written (hex).
Q_DECLARE_LOGGING_CATEGORY(lcSerial)
// velk.sync: the once-a-minute sync of the devices' clocks.
Q_DECLARE_LOGGING_CATEGORY(lcSync)
// velk.ui: what the window tells the operator.
Q_DECLARE_LOGGING_CATEGORY(lcUi)

// Puts the local date and time before every log line, so that a log kept in a file says when
// the line was lost. Refusals and results, which are not log lines, stay as they are.
void stampLogLines();
// Whether standard error, the file `device`:`inode`, is the journal's stream, which stamps each
// line itself: systemd says so in JOURNAL_STREAM, "DEVICE:INODE" in decimal.
bool isJournalStream(const QByteArray& journalStream, quint64 device, quint64 inode);

} // namespace velk
