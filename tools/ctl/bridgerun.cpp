#include "ctl/bridgerun.h"

#include "ctl/bridge.h"
#include "ctl/ctloptions.h"
#include "ctl/mqttclient.h"
#include "ctl/syncservice.h"
#include "port/portdescriptions.h"
#include "port/systemportmapping.h"
#include "system/terminationwatcher.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTimer>

namespace velk {

int runBridge(const CtlOptions& options, SerialPort& port, const LocalClock& clock) {
    QTextStream err(stderr);
    // A service's log says what it did; QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("velk.*.info=true"));
    TerminationWatcher watcher;
    SyncService sync(port, clock);
    if (const QString failure = sync.start(options); !failure.isEmpty()) {
        err << "velk-ctl: " << failure << Qt::endl;
        return 1;
    }
    const QString line = options.port.device.isEmpty()
                             ? SystemPortMapping().deviceFor(options.port.number)
                             : options.port.device;
    const QString lineName = BridgeOptions::lineName(line);
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
    // The PC clock's state reaches the bridge once a reader for it is at hand.
    Bridge bridge(bridgeOptions, base, lineName, mqtt, port, sync, clock, nullptr);

    const auto closeLine = [&] {
        if (const qint64 unsent = sync.stop(); unsent > 0)
            err << "velk-ctl: " << unsentBytesDescription(unsent) << Qt::endl;
    };
    mqtt.onFailedToStart([&](const QString& why) {
        err << "velk-ctl: " << why << Qt::endl;
        closeLine();
        QCoreApplication::exit(1);
    });
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, &mqtt, [&] {
        bridge.stop([&] {
            closeLine();
            QCoreApplication::exit(0);
        });
    });
    qCInfo(lcMqtt).noquote() << "bridge for" << line << "under" << base << "on"
                             << mqtt.brokerName();
    // Started from the event loop, so a failure at once still ends it.
    QTimer::singleShot(0, &mqtt, &MqttClient::start);
    return QCoreApplication::exec();
}

} // namespace velk
