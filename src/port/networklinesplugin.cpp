// The network-line plugin: Qt's network module stays out of the programs until a network line
// is named (port/lineports_network.cpp loads this).
#include "port/networklines.h"
#include "port/networkport.h"
#include "port/networktap.h"

#include <QtGlobal>

namespace velk {
namespace {

class PluginNetworkLines : public NetworkLines {
public:
    std::unique_ptr<Line> makePort(const LineName& name, PortChooser chooser) override {
        auto port = std::make_unique<NetworkPort>(name);
        port->setChooser(chooser);
        return port;
    }

    std::unique_ptr<QIODevice> openTap(const LineName& name, const LineSettings& settings,
                                       QString* why) override {
        auto tap = std::make_unique<NetworkTap>(name);
        if (const QString failure = tap->connectTo(settings); !failure.isEmpty()) {
            if (why)
                *why = failure;
            return nullptr;
        }
        return tap;
    }
};

} // namespace
} // namespace velk

extern "C" Q_DECL_EXPORT velk::NetworkLines* velk_network_lines() {
    static velk::PluginNetworkLines lines;
    return &lines;
}
