#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velk {

struct BridgeOptions;

// One retained Home Assistant discovery message.
struct DiscoveryConfig {
    QString topic;
    QByteArray payload;
};

// What Home Assistant is told it can show for a bridge under `base`: a text and a clear button
// per address, the sync switch, "Set time now" and, with `clockSensor`, the PC clock's state.
// `lineName` names the device ("VELK line ttyUSB0").
QList<DiscoveryConfig> discoveryConfigs(const BridgeOptions& options, const QString& base,
                                        const QString& lineName, bool clockSensor);

} // namespace velk
