#pragma once

#include "connection/networklineprompt.h"

#include <QStringList>

namespace velk {

// Answers the question for a network line with what the test set, and records what was asked
// and refused.
class FakeNetworkLinePrompt : public NetworkLinePrompt {
public:
    std::optional<QString> askNetworkLine(const QString& current) override {
        asked << current;
        return answer;
    }
    void showRefusal(const QString& why) override { refusals << why; }

    std::optional<QString> answer; // nothing: the operator cancels
    QStringList asked;             // the URL each question started from
    QStringList refusals;
};

} // namespace velk
