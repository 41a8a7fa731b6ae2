#include "ctl/servicehost.h"

#include "ctl/ctloptions.h"
#include "ctl/servicecommand.h"
#include "ctl/serviceevents.h"
#include "system/systemwallclockalarm.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>

#include <iterator>
#include <thread>

#include <windows.h>

namespace velk {

namespace {

// How long `service remove` waits for a running service to stop before removing it.
constexpr int kStopWaitMs = 15000;
// How long stopping may take: the last minute's bytes drain first.
constexpr DWORD kStopHintMs = 5000;
// A service that ends in failure (its port missing at boot) is started again after this.
constexpr DWORD kRestartDelayMs = 5000;

std::wstring wide(const QString& text) {
    return text.toStdWString();
}

QString systemText(DWORD code) {
    return qt_error_string(int(code)).trimmed();
}

// Service handles closed on leaving scope.
struct ScHandle {
    SC_HANDLE handle;
    ~ScHandle() {
        if (handle)
            CloseServiceHandle(handle);
    }
};

int refused(QString* said, const QString& what, DWORD code) {
    *said = what + QStringLiteral(": ") + systemText(code);
    if (code == ERROR_ACCESS_DENIED)
        *said += QStringLiteral(" (run it from a command prompt started as administrator)");
    return 1;
}

// The Service Control Manager with `access`; null, with the reason in `said`, when refused.
SC_HANDLE openManager(DWORD access, QString* said) {
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, access);
    if (!manager)
        refused(said, QStringLiteral("cannot reach the Service Control Manager"), GetLastError());
    return manager;
}

// A command line word as CreateProcess reads it back.
QString quotedWord(const QString& word) {
    return word.contains(QLatin1Char(' ')) ? QLatin1Char('"') + word + QLatin1Char('"') : word;
}

// Where the event log finds a source's message file; velk-ctl.exe carries the message table.
std::wstring eventSourceKey(const QString& name) {
    return wide(QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\") +
                name);
}

bool registerEventSource(const QString& name, const QString& messageFile) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, eventSourceKey(name).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring file = wide(messageFile);
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    const bool done =
        RegSetValueExW(key, L"EventMessageFile", 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(file.c_str()),
                       DWORD((file.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
        RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                       sizeof(types)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return done;
}

void removeEventSource(const QString& name) {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, eventSourceKey(name).c_str());
}

bool isInstalled(SC_HANDLE manager, const QString& name) {
    const ScHandle service{OpenServiceW(manager, wide(name).c_str(), SERVICE_QUERY_STATUS)};
    return service.handle != nullptr;
}

QString describe(const CtlOptions& options) {
    const QString line = servicecommand::portName(options);
    if (options.serviceKind == CtlOptions::ServiceKind::Bridge)
        return QStringLiteral("Carries titles, clears, the time and the minute sync from the MQTT "
                              "broker to the VELK-Pro displays on %1, and their states back.")
            .arg(line);
    return QStringLiteral("Keeps the clocks of the VELK-Pro displays on %1 in step with the PC "
                          "clock, at the start of every minute.")
        .arg(line);
}

// Restarted after a failure (its line missing at boot, the broker away), as often as systemd
// does on Linux.
void restartOnFailure(SC_HANDLE service) {
    SC_ACTION restart[] = {{SC_ACTION_RESTART, kRestartDelayMs},
                           {SC_ACTION_RESTART, kRestartDelayMs},
                           {SC_ACTION_RESTART, kRestartDelayMs}};
    SERVICE_FAILURE_ACTIONSW failures{};
    failures.dwResetPeriod = 24 * 60 * 60;
    failures.cActions = DWORD(std::size(restart));
    failures.lpsaActions = restart;
    ChangeServiceConfig2W(service, SERVICE_CONFIG_FAILURE_ACTIONS, &failures);
    SERVICE_FAILURE_ACTIONS_FLAG onFailedExit{TRUE};
    ChangeServiceConfig2W(service, SERVICE_CONFIG_FAILURE_ACTIONS_FLAG, &onFailedExit);
}

} // namespace

namespace servicehost {

QString unavailableReason() {
    return {};
}

QString commandsHelp() {
    return QStringLiteral(
        "  sync                   send the PC clock at the start of every minute until\n"
        "                         Ctrl+C or a service stop, waiting for a lost device\n"
        "                         to come back; with --require-synced, only while the PC\n"
        "                         clock is synchronised\n"
        "  service install|remove --port COMn [--settings S]\n"
        "                         register (or remove) the Windows service\n"
        "                         \"VELK-Pro sync COMn\", which starts with Windows and runs\n"
        "                         sync on that line (as administrator); a network line's\n"
        "                         service is named by HOST_PORT\n"
        "  service install bridge --port COMn --broker URL --credentials FILE [--topic T]\n"
        "                         [--addresses A] [--ca FILE]\n"
        "  service remove bridge --port COMn\n"
        "                         the same for the bridge: \"VELK-Pro bridge COMn\"; a line\n"
        "                         has either the sync or the bridge, never both\n");
}

int install(const CtlOptions& options, QString* said) {
    const QString name = servicecommand::serviceName(options);
    const ScHandle manager{openManager(SC_MANAGER_CREATE_SERVICE | SC_MANAGER_CONNECT, said)};
    if (!manager.handle)
        return 1;
    // One owner per line: the sync and the bridge would fight over it.
    if (const QString rival = servicecommand::rivalName(options);
        isInstalled(manager.handle, rival)) {
        *said = QStringLiteral("the service \"%1\" already drives %2; remove it first")
                    .arg(rival, servicecommand::portName(options));
        return 1;
    }
    const QString program = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    QString command = QLatin1Char('"') + program + QLatin1Char('"');
    for (const QString& word : servicecommand::serviceArguments(options))
        command += QLatin1Char(' ') + quotedWord(word);
    const ScHandle service{
        CreateServiceW(manager.handle, wide(name).c_str(), wide(name).c_str(), SERVICE_ALL_ACCESS,
                       SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                       wide(command).c_str(), nullptr, nullptr, nullptr, nullptr, nullptr)};
    if (!service.handle) {
        const DWORD code = GetLastError();
        if (code == ERROR_SERVICE_EXISTS) {
            *said = QStringLiteral("the service \"%1\" is already installed; remove it first")
                        .arg(name);
            return 1;
        }
        return refused(said, QStringLiteral("cannot install the service \"%1\"").arg(name), code);
    }
    std::wstring description = wide(describe(options));
    SERVICE_DESCRIPTIONW describeIt{description.data()};
    ChangeServiceConfig2W(service.handle, SERVICE_CONFIG_DESCRIPTION, &describeIt);
    restartOnFailure(service.handle);
    if (!registerEventSource(name, program)) {
        const DWORD code = GetLastError();
        DeleteService(service.handle);
        return refused(said, QStringLiteral("cannot register the event source \"%1\"").arg(name),
                       code);
    }
    *said = QStringLiteral("installed the service \"%1\"; it starts with Windows, "
                           "net start \"%1\" starts it now")
                .arg(name);
    return 0;
}

int remove(const CtlOptions& options, QString* said) {
    const QString name = servicecommand::serviceName(options);
    const ScHandle manager{openManager(SC_MANAGER_CONNECT, said)};
    if (!manager.handle)
        return 1;
    const ScHandle service{OpenServiceW(manager.handle, wide(name).c_str(),
                                        SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE)};
    if (!service.handle) {
        const DWORD code = GetLastError();
        if (code == ERROR_SERVICE_DOES_NOT_EXIST) {
            *said = QStringLiteral("no service \"%1\" is installed").arg(name);
            return 1;
        }
        return refused(said, QStringLiteral("cannot open the service \"%1\"").arg(name), code);
    }
    // Stopped first, so the line is handed back before the service is gone.
    SERVICE_STATUS status{};
    if (ControlService(service.handle, SERVICE_CONTROL_STOP, &status)) {
        QElapsedTimer waited;
        waited.start();
        while (QueryServiceStatus(service.handle, &status) &&
               status.dwCurrentState != SERVICE_STOPPED && waited.elapsed() < kStopWaitMs)
            QThread::msleep(100);
    }
    if (!DeleteService(service.handle))
        return refused(said, QStringLiteral("cannot remove the service \"%1\"").arg(name),
                       GetLastError());
    removeEventSource(name);
    *said = QStringLiteral("removed the service \"%1\"").arg(name);
    return 0;
}

} // namespace servicehost

namespace {

// The manager calls back on threads of its own; one service per process.
ServiceHost* g_host = nullptr;
SERVICE_STATUS_HANDLE g_status = nullptr;
HANDLE g_started = nullptr;  // set once the service's main has registered (or dispatch failed)
HANDLE g_finished = nullptr; // set once the run has ended
DWORD g_exitStatus = 0;
HANDLE g_eventLog = nullptr;
QtMessageHandler g_previousHandler = nullptr;

void report(DWORD state, DWORD waitHint = 0) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? ServiceHost::acceptedControls() : 0;
    status.dwWaitHint = waitHint;
    if (state == SERVICE_STOPPED && g_exitStatus != 0) {
        status.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        status.dwServiceSpecificExitCode = g_exitStatus;
    }
    SetServiceStatus(g_status, &status);
}

DWORD WINAPI onControl(DWORD control, DWORD eventType, void*, void* host) {
    return static_cast<ServiceHost*>(host)->takeControl(control, eventType);
}

void WINAPI serviceMain(DWORD, LPWSTR* arguments) {
    g_status = RegisterServiceCtrlHandlerExW(arguments[0], &onControl, g_host);
    if (g_status)
        report(SERVICE_START_PENDING, kStopHintMs);
    SetEvent(g_started);
    if (!g_status)
        return;
    WaitForSingleObject(g_finished, INFINITE);
    report(SERVICE_STOPPED);
}

// A service has no console: its log goes to the system's event log.
void toEventLog(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const std::wstring line = wide(qFormatLogMessage(type, context, message));
    const wchar_t* strings[] = {line.c_str()};
    WORD kind = EVENTLOG_INFORMATION_TYPE;
    if (type == QtWarningMsg)
        kind = EVENTLOG_WARNING_TYPE;
    else if (type == QtCriticalMsg || type == QtFatalMsg)
        kind = EVENTLOG_ERROR_TYPE;
    // The ID finds the line's text in velk-ctl.exe's message table and says what happened.
    ReportEventW(g_eventLog, kind, 0, serviceevents::idFor(message), nullptr, 1, 0, strings,
                 nullptr);
}

} // namespace

class ServiceHost::Connection {
public:
    std::thread dispatcher;
    DWORD dispatchError = 0;
    bool finished = false;
};

ServiceHost::ServiceHost(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

ServiceHost::~ServiceHost() {
    finish(1);
}

QString ServiceHost::attach() {
    g_host = this;
    g_started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_connection = std::make_unique<Connection>();
    Connection* connection = m_connection.get();
    // The dispatcher keeps its thread until the service has stopped; the event loop keeps the
    // main thread.
    const std::wstring name = wide(m_name);
    connection->dispatcher = std::thread([connection, name] {
        std::wstring ownName = name;
        SERVICE_TABLE_ENTRYW table[] = {{ownName.data(), &serviceMain}, {nullptr, nullptr}};
        if (!StartServiceCtrlDispatcherW(table))
            connection->dispatchError = GetLastError();
        SetEvent(g_started);
    });
    WaitForSingleObject(g_started, INFINITE);
    if (!g_status) {
        connection->dispatcher.join();
        connection->finished = true;
        return QStringLiteral("--as-service: not started by the Service Control Manager (%1)")
            .arg(systemText(connection->dispatchError));
    }
    g_eventLog = RegisterEventSourceW(nullptr, name.c_str());
    if (g_eventLog)
        g_previousHandler = qInstallMessageHandler(&toEventLog);
    report(SERVICE_RUNNING);
    return {};
}

void ServiceHost::finish(int status) {
    if (!m_connection || m_connection->finished)
        return;
    m_connection->finished = true;
    if (g_eventLog) {
        qInstallMessageHandler(g_previousHandler);
        DeregisterEventSource(g_eventLog);
        g_eventLog = nullptr;
    }
    g_exitStatus = DWORD(status);
    SetEvent(g_finished);
    m_connection->dispatcher.join();
}

quint32 ServiceHost::acceptedControls() {
    return SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_TIMECHANGE |
           SERVICE_ACCEPT_POWEREVENT;
}

quint32 ServiceHost::takeControl(quint32 control, quint32 eventType) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        report(SERVICE_STOP_PENDING, kStopHintMs);
        // Stop and shutdown end the run as Ctrl+C does: the line is handed what it was given.
        QMetaObject::invokeMethod(
            this, [this] { emit stopRequested(); }, Qt::QueuedConnection);
        return NO_ERROR;
    case SERVICE_CONTROL_TIMECHANGE:
        // The minute wait is re-armed for the new time, as the panel does.
        SystemWallClockAlarm::clockSteppedEverywhere();
        return NO_ERROR;
    case SERVICE_CONTROL_POWEREVENT:
        if (eventType == PBT_APMRESUMEAUTOMATIC || eventType == PBT_APMRESUMESUSPEND)
            SystemWallClockAlarm::clockSteppedEverywhere();
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

} // namespace velk
