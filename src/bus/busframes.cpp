#include "bus/busframes.h"

#include "bus/buslink.h"
#include "bus/mqttclient.h"
#include "port/linename.h"

namespace velk {

namespace {

// No frame is longer; a longer payload is not one.
constexpr qsizetype kLongestFrame = 1024;

} // namespace

std::unique_ptr<QObject> watchBusFrames(const LineName& line, const BrokerAccess& access,
                                        FrameHandler frame, TapFailure failed) {
    auto client = std::make_unique<MqttClient>(BusLink::clientSettings(line, access, true));
    const QString topic = line.topicBase + QStringLiteral("/frames");
    MqttClient* mqtt = client.get();
    mqtt->onConnected([mqtt, topic] { mqtt->subscribe(topic); });
    mqtt->onMessage([topic, frame](const MqttClient::Message& message) {
        if (message.topic != topic)
            return;
        if (message.payload.size() > kLongestFrame) {
            qCWarning(lcMqtt).noquote() << topic << ": a payload of" << message.payload.size()
                                        << "bytes is not a frame; ignored";
            return;
        }
        frame(message.payload);
    });
    mqtt->onSubscribed([mqtt, failed](const QString& pattern, bool granted) {
        if (!granted)
            failed(QStringLiteral("the broker %1 refused the subscription to %2")
                       .arg(mqtt->brokerName(), pattern));
    });
    mqtt->onFailedToStart(failed);
    mqtt->onLost(failed);
    mqtt->start();
    return client;
}

} // namespace velk
