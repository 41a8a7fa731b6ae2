#pragma once

#include <QObject>

#include <memory>

namespace velk {

// Turns the operating system's requests to end the program (SIGTERM, SIGINT and SIGHUP on Unix;
// console close, Ctrl+C and the end of the session on Windows) into a Qt signal on the event
// loop, so the program ends the way it does when the operator closes it. One at a time.
class TerminationWatcher : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatcher(QObject* parent = nullptr);
    // Gives the requests back to the system's default handling.
    ~TerminationWatcher() override;
    TerminationWatcher(const TerminationWatcher&) = delete;
    TerminationWatcher& operator=(const TerminationWatcher&) = delete;

    // False when the requests could not be taken over and keep their default effect.
    bool isWatching() const;

    // A request to end that comes from elsewhere in the process (a Windows service's stop), told
    // to the watcher alive as the system's own would be; any thread.
    static void requestTermination();

signals:
    // The program should end as if closed by the operator; emitted on the event loop.
    void terminationRequested();
    // The system ends the process as soon as this returns (a Windows session ending), so what
    // must reach the line has to be handed over inside the connected slots.
    void endingNow();

private:
    class Hook;
    std::unique_ptr<Hook> m_hook;
};

} // namespace velk
