#pragma once

#include "connection/networklineprompt.h"

class QWidget;

namespace velk {

// Asks for a device server's URL in a small input box over the settings dialog; a refusal is
// told in a box titled like the panel's own.
class QtNetworkLinePrompt : public NetworkLinePrompt {
public:
    explicit QtNetworkLinePrompt(QWidget* parent) : m_parent(parent) {}

    std::optional<QString> askNetworkLine(const QString& current) override;
    void showRefusal(const QString& why) override;

private:
    QWidget* m_parent;
};

} // namespace velk
