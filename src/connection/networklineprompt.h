#pragma once

#include <QString>
#include <optional>

namespace velk {

// Asks the operator for a device server's URL when the settings dialog's network entry is
// picked. The window implements it with a small input box.
class NetworkLinePrompt {
public:
    virtual ~NetworkLinePrompt() = default;
    // What the operator typed, starting from `current`; nothing when the question was cancelled.
    virtual std::optional<QString> askNetworkLine(const QString& current) = 0;
    // Tells why the typed URL was refused.
    virtual void showRefusal(const QString& why) = 0;
};

} // namespace velk
