#pragma once

#include "connection/networklineprompt.h"

#include <QStringList>

namespace velk {

// Answers with what the test set; records what was asked and refused.
class FakeNetworkLinePrompt : public NetworkLinePrompt {
public:
    std::optional<QString> askNetworkLine(const QString& current) override {
        asked << current;
        return answer;
    }
    void showRefusal(const QString& why) override { refusals << why; }

    std::optional<QString> answer; // nothing: cancelled
    QStringList asked;
    QStringList refusals;
};

} // namespace velk
