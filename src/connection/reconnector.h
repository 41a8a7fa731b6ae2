#pragma once

#include "controls/handler.h"

#include <QObject>
#include <QTimer>

namespace velk {

class Line;

// Waits for a lost device to come back: tries to open the same port every two seconds until it
// opens, then runs the reconnected handler. Nothing is shown to the operator from here; each try
// is logged.
class Reconnector : public QObject {
    Q_OBJECT

public:
    static constexpr int kRetryIntervalMs = 2000;

    explicit Reconnector(Line& port, QObject* parent = nullptr);

    // Runs once the port is open again, after the waiting has stopped.
    void onReconnected(Handler handler) { m_reconnected = std::move(handler); }

    // Makes the port's loss start the waiting, after `lost` has run. This takes the port's one
    // lost handler; a caller that binds it elsewhere calls start() from there instead.
    void startOnLoss(Handler lost = {});

    // Starts waiting; the first try comes one interval later. Starting again changes nothing.
    void start();
    // Stops waiting; no further try is made.
    void stop();
    bool isWaiting() const { return m_timer.isActive(); }

    // One try now, as the timer makes it: the same device the port reached before. Opening stops
    // the waiting and runs the reconnected handler; a port someone else opened meanwhile just
    // stops it. True when the port is open once the call returns (a network line answers later).
    bool attempt();

private:
    Line& m_port;
    QTimer m_timer;
    Handler m_reconnected;
    int m_attempts = 0;
    bool m_trying = false;
};

} // namespace velk
