#include "ctl/bridgerun.h"

#include "ctl/bridge.h"
#include "ctl/ctloptions.h"
#include "bus/mqttclient.h"
#include "ctl/syncservice.h"
#include "port/linename.h"
#include "port/portdescriptions.h"
#include "port/systemportmapping.h"
#include "system/systemwallclockalarm.h"
#include "system/terminationwatcher.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTimer>

namespace velk {

int runBridge(const CtlOptions& options, Line& port, const LocalClock& clock,
              const ClockStateSource& clockState) {
    QTextStream err(stderr);
    // A service's log says what it did; QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("velk.*.info=true"));
    TerminationWatcher watcher;
    SystemWallClockAlarm alarm;
    SyncService sync(port, clock, clockState, &alarm);
    const LineName& name = options.port;
    const QString line = name.kind == LineName::Kind::Comport
                             ? SystemPortMapping().deviceFor(name.number)
                         : name.kind == LineName::Kind::Device ? name.device
                                                               : name.text();
    const QString lineName = BridgeOptions::lineName(name, line);
    const BridgeOptions& bridgeOptions = options.bridge;
    const QString base =
        bridgeOptions.topic.isEmpty() ? QStringLiteral("velk/") + lineName : bridgeOptions.topic;

    MqttClient::Settings settings;
    settings.host = bridgeOptions.brokerHost;
    settings.port = bridgeOptions.brokerPort;
    settings.tls = bridgeOptions.tls;
    settings.caFile = bridgeOptions.caFile;
    settings.clientId = bridgeOptions.clientId;
    settings.user = bridgeOptions.user;
    settings.password = bridgeOptions.password;
    settings.willTopic = base + QStringLiteral("/availability");
    settings.willPayload = QByteArrayLiteral("offline");
    MqttClient mqtt(settings);
    Bridge bridge(bridgeOptions, base, lineName, mqtt, port, sync, clock, &clockState);

    // Ends the run with `status` once the line has taken what it was given.
    const auto closeLineAndExit = [&](int status) {
        sync.stop([&err, status](qint64 unsent) {
            if (unsent > 0)
                err << "velk-ctl: " << unsentBytesDescription(unsent) << Qt::endl;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [status] { QCoreApplication::exit(status); },
                Qt::QueuedConnection);
        });
    };
    mqtt.onFailedToStart([&](const QString& why) {
        err << "velk-ctl: " << why << Qt::endl;
        closeLineAndExit(1);
    });
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, &mqtt,
                     [&] { bridge.stop([&] { closeLineAndExit(0); }); });
    // The broker is reached once the line is open; a line that cannot be opened ends the run.
    sync.start(options, [&](const QString& failure) {
        if (!failure.isEmpty()) {
            err << "velk-ctl: " << failure << Qt::endl;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::exit(1); },
                Qt::QueuedConnection);
            return;
        }
        qCInfo(lcMqtt).noquote() << "bridge for" << line << "under" << base << "on"
                                 << mqtt.brokerName();
        // From the event loop, so a failure at once still ends the run.
        QTimer::singleShot(0, &mqtt, &MqttClient::start);
    });
    return QCoreApplication::exec();
}

} // namespace velk
