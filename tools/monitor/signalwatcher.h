#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace velk {

// Turns SIGINT and SIGTERM into a Qt signal on the event loop, so the monitor can finish its
// output (and its summary) instead of dying mid-line.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    // Holds SIGINT and SIGTERM back from default handling. Call before any thread starts, so
    // every thread inherits the blocked mask.
    static void blockTermination();

    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

signals:
    void terminationRequested();

private:
    void readSignal();

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace velk
