#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace velk {

struct CtlOptions;

// The minute sync and the MQTT bridge as Windows services: registering them with their event
// sources, and running under the Service Control Manager. Elsewhere each of these refuses with
// the reason (servicehost_unix.cpp).
namespace servicehost {

// Why there are no services to register here; empty on Windows.
QString unavailableReason();
// The help's lines for `sync` (how it is stopped) and, where it exists, for `service`.
QString commandsHelp();
// Registers or removes the service the options name, and its event source. 0 done (with a line
// for the user in `said`), 1 refused (with a one-line reason in `said`): by the system, or
// because the other kind of service already drives the line.
int install(const CtlOptions& options, QString* said);
int remove(const CtlOptions& options, QString* said);

} // namespace servicehost

// `sync` or `bridge` under the Service Control Manager: reports the service's state, turns stop
// and shutdown into stopRequested() on the event loop, time changes and resumes into steps of
// every wall-clock alarm, and sends the log to the system's event log.
class ServiceHost : public QObject {
    Q_OBJECT
public:
    explicit ServiceHost(const QString& name, QObject* parent = nullptr);
    // Reports the service stopped if finish() was not called.
    ~ServiceHost() override;

    // Connects to the manager and reports the service running. Empty on success, otherwise why
    // not (typically: not started by the manager).
    QString attach();
    // Reports the service stopped with the run's exit status.
    void finish(int status);

    // What the service does with a control from the manager (any thread); the answer the
    // manager gets back (0: taken).
    quint32 takeControl(quint32 control, quint32 eventType);
    // The controls the running service accepts.
    static quint32 acceptedControls();

signals:
    void stopRequested();

private:
    class Connection;
    std::unique_ptr<Connection> m_connection;
    QString m_name;
};

} // namespace velk
