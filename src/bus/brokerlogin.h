#pragma once

#include <QString>
#include <optional>

namespace velk {

// Asks the operator who they are on a broker that refused a connection without a user: the
// user and password, kept by the caller in memory for the run only and never written anywhere.
class BrokerLogin {
public:
    struct Given {
        QString user;
        QString password;
    };
    virtual ~BrokerLogin() = default;
    // Nothing when the operator cancelled. `broker` names it, `why` is its refusal.
    virtual std::optional<Given> ask(const QString& broker, const QString& why) = 0;
};

} // namespace velk
