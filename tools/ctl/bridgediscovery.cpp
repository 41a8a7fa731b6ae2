#include "ctl/bridgediscovery.h"

#include "controls/clockstate.h"
#include "controls/textbox.h"
#include "ctl/bridgeoptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace velk {

namespace {

// The sensor's template, from the words the clock topic carries.
QString clockTemplate() {
    return QStringLiteral("{% if value == '%1' %}ON{% elif value == '%2' %}OFF"
                          "{% else %}None{% endif %}")
        .arg(clockStateWord(ClockState::Sync::Synchronised),
             clockStateWord(ClockState::Sync::NotSynchronised));
}

} // namespace

QList<DiscoveryConfig> discoveryConfigs(const BridgeOptions& options, const QString& base,
                                        const QString& lineName, bool clockSensor) {
    static const QRegularExpression unfit(QStringLiteral("[^A-Za-z0-9_-]"));
    const QString node = QString(base).replace(unfit, QStringLiteral("_"));
    const auto topic = [&base](const QString& path) { return base + QLatin1Char('/') + path; };
    const QJsonObject device{
        {"identifiers", QJsonArray{node}},
        {"name", QStringLiteral("VELK line ") + lineName},
        {"manufacturer", "VELK-Pro"},
        {"model", "velk-ctl bridge"},
    };
    QList<DiscoveryConfig> configs;
    const auto announce = [&](const char* component, const QString& id, const QString& name,
                              QJsonObject config) {
        config.insert("name", name);
        config.insert("unique_id", node + QLatin1Char('_') + id);
        config.insert("availability_topic", topic(QStringLiteral("availability")));
        config.insert("device", device);
        configs.append({QStringLiteral("%1/%2/%3/%4/config")
                            .arg(options.discoveryPrefix, QLatin1String(component), node, id),
                        QJsonDocument(config).toJson(QJsonDocument::Compact)});
    };
    for (quint8 address : options.addresses) {
        const QString name = BridgeOptions::addressName(address);
        announce("text", QStringLiteral("title_") + name, QStringLiteral("Title ") + name,
                 {{"command_topic", topic(name + QStringLiteral("/title/set"))},
                  {"state_topic", topic(name + QStringLiteral("/title"))},
                  {"max", kTitleLength},
                  {"mode", "text"}});
        announce("button", QStringLiteral("clear_") + name, QStringLiteral("Clear ") + name,
                 {{"command_topic", topic(name + QStringLiteral("/clear"))},
                  {"payload_press", "PRESS"}});
    }
    announce("switch", QStringLiteral("sync"), QStringLiteral("Sync time"),
             {{"command_topic", topic(QStringLiteral("sync/set"))},
              {"state_topic", topic(QStringLiteral("sync"))},
              {"payload_on", "ON"},
              {"payload_off", "OFF"}});
    announce("button", QStringLiteral("set_time"), QStringLiteral("Set time now"),
             {{"command_topic", topic(QStringLiteral("time/set"))}, {"payload_press", "now"}});
    if (clockSensor)
        announce(
            "binary_sensor", QStringLiteral("clock"), QStringLiteral("PC clock synchronised"),
            {{"state_topic", topic(QStringLiteral("clock"))}, {"value_template", clockTemplate()}});
    return configs;
}

} // namespace velk
