#include "ctl/bridgerun.h"

#include "bus/mqttclient.h"
#include "ctl/bridge.h"
#include "ctl/ctloptions.h"
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

namespace {

Bridge::Place placeOf(const CtlOptions& options) {
    const LineName& name = options.port;
    Bridge::Place place;
    place.line = name.kind == LineName::Kind::Comport  ? SystemPortMapping().deviceFor(name.number)
                 : name.kind == LineName::Kind::Device ? name.device
                                                       : name.text();
    place.lineName = BridgeOptions::lineName(name, place.line);
    place.base = options.bridge.topic.isEmpty() ? QStringLiteral("velk/") + place.lineName
                                                : options.bridge.topic;
    place.timeZone = QString::fromUtf8(options.timeZone.isValid() ? options.timeZone.id()
                                                                  : QTimeZone::systemTimeZoneId());
    return place;
}

MqttClient::Settings brokerSettings(const BridgeOptions& options, const QString& base) {
    MqttClient::Settings settings = MqttClient::Settings::forBroker(
        options.brokerHost, options.brokerPort, options.tls,
        BrokerAccess{options.user, options.password, options.caFile});
    settings.clientId = options.clientId;
    settings.willTopic = base + QStringLiteral("/availability");
    settings.willPayload = Bridge::availabilityWord(false);
    return settings;
}

void exitLater(int status) {
    // Queued: the port or the broker may still be inside its own notification.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [status] { QCoreApplication::exit(status); },
        Qt::QueuedConnection);
}

} // namespace

int runBridge(const CtlOptions& options, Line& port, const LocalClock& clock,
              const ClockStateSource& clockState) {
    QTextStream err(stderr);
    // A service's log says what it did; QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("velk.*.info=true"));
    TerminationWatcher watcher;
    SystemWallClockAlarm alarm;
    SyncService sync(port, clock, clockState, &alarm);
    const Bridge::Place place = placeOf(options);
    MqttClient mqtt(brokerSettings(options.bridge, place.base));
    Bridge bridge(options.bridge, place, mqtt, port, sync, clock, &clockState);

    // Under the Service Control Manager nobody reads standard error: failures are logged too,
    // and reach the system's event log.
    const auto fail = [&err, asService = options.asService](const QString& failure) {
        err << "velk-ctl: " << failure << Qt::endl;
        if (asService)
            qCCritical(lcMqtt).noquote() << "velk-ctl:" << failure;
    };
    // Ends the run with `status` once the line has taken what it was given.
    const auto closeLineAndExit = [&](int status) {
        sync.stop([&fail, status](qint64 unsent) {
            if (unsent > 0)
                fail(unsentBytesDescription(unsent));
            exitLater(status);
        });
    };
    mqtt.onFailedToStart([&](const QString& why) {
        fail(why);
        closeLineAndExit(1);
    });
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, &mqtt,
                     [&] { bridge.stop([&] { closeLineAndExit(0); }); });
    // The broker is reached once the line is open; a line that cannot be opened ends the run.
    sync.start(options, [&](const QString& failure) {
        if (!failure.isEmpty()) {
            fail(failure);
            exitLater(1);
            return;
        }
        qCInfo(lcMqtt).noquote() << "bridge for" << place.line << "under" << place.base << "on"
                                 << mqtt.brokerName();
        // From the event loop, so a failure at once still ends the run.
        QTimer::singleShot(0, &mqtt, &MqttClient::start);
    });
    return QCoreApplication::exec();
}

} // namespace velk
