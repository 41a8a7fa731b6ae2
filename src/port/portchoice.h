#pragma once

#include "controls/linesettings.h"

#include <QString>
#include <memory>
#include <optional>

class QCommandLineParser;

namespace velk {

class PortMapping;

// Which port a run uses, as given on a command line: "Comport N", or a device reached directly
// (a path such as /dev/ttyUSB0, or a Windows name beyond COM16), which the run then calls
// Comport 1.
struct PortChoice {
    int number = 1;
    QString device; // empty: the number reaches its device as the system maps it

    // COMn with n from 1 to 16 means Comport n where the system names its ports so.
#ifdef Q_OS_WIN
    static constexpr bool kComNames = true;
#else
    static constexpr bool kComNames = false;
#endif

    // Reads N (1 to 16) or DEVICE. Nothing, with a one-line `why` naming `--port`, for anything
    // else.
    static std::optional<PortChoice> parse(const QString& text, QString* why,
                                           bool comNames = kComNames);

    // The mapping that reaches this choice: `system` itself, or with the device pinned.
    std::unique_ptr<PortMapping> mapping(std::unique_ptr<PortMapping> system) const;

    friend bool operator==(const PortChoice& a, const PortChoice& b) {
        return a.number == b.number && a.device == b.device;
    }
    friend bool operator!=(const PortChoice& a, const PortChoice& b) {
        return !(a == b);
    }
};

// The --port and --settings options, read alike by every program that opens the line.
class PortOptions {
public:
    // Adds both options to `parser`.
    static void addTo(QCommandLineParser& parser);

    // Reads them from a parser that has parsed its arguments. False, with a one-line `why`
    // naming the option and what it accepts, when either value is refused.
    bool read(const QCommandLineParser& parser, QString* why);

    // What was given; nothing for an option left out.
    const std::optional<PortChoice>& port() const { return m_port; }
    const std::optional<LineSettings>& settings() const { return m_settings; }

    // The refusal of a --settings value, built on LineSettings' own reading.
    static std::optional<LineSettings> parseSettings(const QString& text, QString* why);
    // The refusal of `--port` or `--settings` given without a value; empty for other names.
    static QString missingValueText(const QString& option);

private:
    std::optional<PortChoice> m_port;
    std::optional<LineSettings> m_settings;
};

} // namespace velk
