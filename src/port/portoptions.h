#pragma once

#include "controls/linesettings.h"
#include "port/linename.h"

#include <QString>
#include <optional>

class QCommandLineParser;

namespace velk {

// The --port and --settings options, read alike by every program that opens the line.
class PortOptions {
public:
    // Adds both options to `parser`.
    static void addTo(QCommandLineParser& parser);

    // Reads them from a parser that has parsed its arguments. False, with a one-line `why`
    // naming the option and what it accepts, when either value is refused.
    bool read(const QCommandLineParser& parser, QString* why);

    // What was given; nothing for an option left out.
    const std::optional<LineName>& port() const { return m_port; }
    const std::optional<LineSettings>& settings() const { return m_settings; }

    // The refusal of a --settings value, built on LineSettings' own reading.
    static std::optional<LineSettings> parseSettings(const QString& text, QString* why);
    // The refusal of `--port` or `--settings` given without a value; empty for other names.
    static QString missingValueText(const QString& option);

private:
    std::optional<LineName> m_port;
    std::optional<LineSettings> m_settings;
};

} // namespace velk
