#include "ctl/servicehost.h"

namespace velk {

namespace servicehost {

QString unavailableReason() {
    return QStringLiteral("Windows only; here the systemd units velk-sync@DEVICE and "
                          "velk-bridge@DEVICE run the sync and the bridge");
}

QString commandsHelp() {
    return QStringLiteral(
        "  sync                   send the PC clock at the start of every minute until\n"
        "                         SIGTERM or SIGINT, waiting for a lost device to come back;\n"
        "                         with --require-synced, only while the PC clock is\n"
        "                         synchronised\n");
}

int install(const CtlOptions&, QString* said) {
    *said = unavailableReason();
    return 2;
}

int remove(const CtlOptions&, QString* said) {
    *said = unavailableReason();
    return 2;
}

} // namespace servicehost

class ServiceHost::Connection {};

ServiceHost::ServiceHost(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

ServiceHost::~ServiceHost() = default;

QString ServiceHost::attach() {
    return servicehost::unavailableReason();
}

void ServiceHost::finish(int) {}

quint32 ServiceHost::takeControl(quint32, quint32) {
    return 0;
}

quint32 ServiceHost::acceptedControls() {
    return 0;
}

} // namespace velk
