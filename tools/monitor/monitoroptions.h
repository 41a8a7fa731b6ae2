#pragma once

#include "monitor/readlinesettings.h"

#include <QString>
#include <QStringList>

namespace velk {

// What the command line asks of velk-monitor.
struct MonitorOptions {
    enum class Outcome { Run, Help, UsageError };

    Outcome outcome = Outcome::UsageError;
    // The usage error, for Outcome::UsageError.
    QString error;
    QString device;
    ReadLineSettings line;
    bool summary = false;
    // 0: run until stopped.
    qint64 durationMs = 0;

    // `arguments` as main() gets them, the program's name first.
    static MonitorOptions parse(const QStringList& arguments);
    // The one-line synopsis.
    static QString usage();
    // What --help prints.
    static QString help();
};

} // namespace velk
