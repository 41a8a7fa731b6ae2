#pragma once

#include "bus/brokerlogin.h"

namespace velk {

// Asks for the broker's user and password in two small input dialogs over the window.
class QtBrokerLogin : public BrokerLogin {
public:
    std::optional<Given> ask(const QString& broker, const QString& why) override;
};

} // namespace velk
