#pragma once

#include "port/flushwatch.h"
#include "port/line.h"

#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>

namespace velk {

// A line's close that first lets pending bytes drain, looking every kFlushSliceMs from the event
// loop and stopping as FlushWatch says. Every close() asked for meanwhile hears once it is over.
class DrainingClose {
public:
    // The longest the window waits for its turn while pending bytes drain.
    static constexpr int kFlushSliceMs = 20;

    // `pending` counts what the line still holds; `finish` closes the line and returns how many
    // bytes it dropped.
    DrainingClose(std::function<qint64()> pending, std::function<qint64()> finish);

    bool isDraining() const { return bool(m_watch); }
    // Starts draining at `msPerByte`, or, while draining already, adds `closed` to those told.
    void start(Line::Closed closed, double msPerByte);
    // Ends a drain at once (the line was lost or opened again): `finish` runs, everyone hears.
    void finishNow();

    // The same wait without an event loop (a line going away at the end of the program):
    // `waitSlice` lets up to kFlushSliceMs pass while the line works.
    static void waitBlocking(double msPerByte, const std::function<qint64()>& pending,
                             const std::function<void()>& waitSlice);

private:
    void look();

    std::function<qint64()> m_pending;
    std::function<qint64()> m_finish;
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::unique_ptr<FlushWatch> m_watch;
    Line::Closed m_closed;
};

} // namespace velk
