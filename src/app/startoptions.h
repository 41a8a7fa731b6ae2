#pragma once

#include "port/linename.h"
#include "port/portsettings.h"

#include <QString>
#include <QStringList>

namespace velk {

// How a run of the panel starts, as its command line asks. The defaults are a run without
// options.
struct StartSettings {
    PortSettings port;      // what the settings dialog would hold
    bool portGiven = false; // --port or --settings: applied to the port as Ok applies them
    bool connect = false;
    bool sync = false;
    bool twelveHour = false;
    bool reconnect = false;

    friend bool operator==(const StartSettings& a, const StartSettings& b) {
        return a.port == b.port && a.portGiven == b.portGiven && a.connect == b.connect &&
               a.sync == b.sync && a.twelveHour == b.twelveHour && a.reconnect == b.reconnect;
    }
};

// Reads the panel's command line, without widgets, into start settings or a one-line refusal.
class StartOptions {
public:
    enum class Outcome { Run, Help, Version, Refused };

    // `arguments` start with the program's name. With `leaveQtOptions`, Qt's own options and
    // their values (-platform xcb) are passed over, so everything else is judged before Qt
    // starts, with no display needed; Qt takes its own out once the application object exists.
    Outcome read(const QStringList& arguments, bool leaveQtOptions = false);

    const StartSettings& settings() const { return m_settings; }
    // Why the command line was refused, e.g. `--port: expected ... got "0"`.
    const QString& refusal() const { return m_refusal; }
    static QString helpText();
    static QString versionText();

private:
    Outcome refuse(const QString& why);

    StartSettings m_settings;
    QString m_refusal;
};

} // namespace velk
