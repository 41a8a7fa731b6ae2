#pragma once

#include "controls/linesettings.h"
#include "port/linename.h"

#include <QString>
#include <optional>

class QCommandLineParser;

namespace velk {

// The --port and --settings options, read alike by every program that opens the line, and
// --credentials and --ca, which reach a bus line's broker.
class PortOptions {
public:
    // Adds the options to `parser`; --credentials and --ca with `brokerAccess` only (velk-ctl's
    // bridge adds them itself where it is built).
    static void addTo(QCommandLineParser& parser, bool brokerAccess = true);

    // Reads them from a parser that has parsed its arguments. False, with a one-line `why`
    // naming the option and what it accepts, when either value is refused.
    bool read(const QCommandLineParser& parser, QString* why, bool brokerAccess = true);

    // What was given; nothing for an option left out.
    const std::optional<LineName>& port() const { return m_port; }
    const std::optional<LineSettings>& settings() const { return m_settings; }
    // --credentials and --ca as given (files), empty when left out; both for a bus line only.
    const QString& credentialsFile() const { return m_credentialsFile; }
    const QString& caFile() const { return m_caFile; }

    // The refusal of a --settings value, built on LineSettings' own reading.
    static std::optional<LineSettings> parseSettings(const QString& text, QString* why);
    // The refusal of `--port` or `--settings` given without a value; empty for other names.
    static QString missingValueText(const QString& option);

    // --credentials and --ca alone, where read() was told to leave them; the same refusals.
    bool readBrokerAccess(const QCommandLineParser& parser, QString* why);

private:
    std::optional<LineName> m_port;
    std::optional<LineSettings> m_settings;
    QString m_credentialsFile;
    QString m_caFile;
};

} // namespace velk
