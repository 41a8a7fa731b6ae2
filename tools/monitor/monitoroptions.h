#pragma once

#include "bus/brokeraccess.h"
#include "controls/linesettings.h"
#include "port/linename.h"

#include <QString>
#include <QStringList>

namespace velk {

// What the command line asks of velk-monitor.
struct MonitorOptions {
    enum class Outcome { Run, Help, UsageError };

    Outcome outcome = Outcome::UsageError;
    // The usage error, for Outcome::UsageError.
    QString error;
    QString device;    // as given, for messages
    LineName lineName; // which line that names
    LineSettings line;
    // A bus line's broker: --credentials and --ca.
    BrokerAccess access;
    bool summary = false;
    // 0: run until stopped.
    qint64 durationMs = 0;

    // `arguments` as main() gets them, the program's name first.
    static MonitorOptions parse(const QStringList& arguments);
    // Reads the line settings argument: "BAUD,PARITY,DATA,STOP", or a baud rate alone with
    // N,8,1. Nothing, with `error` saying why, when the text does not describe a line.
    static std::optional<LineSettings> readLine(const QString& text, QString* error);
    // The one-line synopsis.
    static QString usage();
    // What --help prints.
    static QString help();
};

} // namespace velk
