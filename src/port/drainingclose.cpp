#include "port/drainingclose.h"

namespace velk {

DrainingClose::DrainingClose(std::function<qint64()> pending, std::function<qint64()> finish)
    : m_pending(std::move(pending)), m_finish(std::move(finish)) {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { look(); });
}

void DrainingClose::start(Line::Closed closed, double msPerByte) {
    if (isDraining()) {
        m_closed = [first = std::move(m_closed), closed = std::move(closed)](qint64 unsent) {
            if (first)
                first(unsent);
            if (closed)
                closed(unsent);
        };
        return;
    }
    m_closed = std::move(closed);
    m_watch = std::make_unique<FlushWatch>(m_pending(), msPerByte);
    m_clock.start();
    look();
}

void DrainingClose::look() {
    if (!isDraining())
        return;
    if (m_watch->keepWaiting(m_clock.elapsed(), m_pending())) {
        m_timer.start(kFlushSliceMs);
        return;
    }
    finishNow();
}

void DrainingClose::finishNow() {
    if (!isDraining())
        return;
    m_timer.stop();
    m_watch.reset();
    const qint64 unsent = m_finish();
    if (Line::Closed closed = std::exchange(m_closed, {}))
        closed(unsent);
}

void DrainingClose::waitBlocking(double msPerByte, const std::function<qint64()>& pending,
                                 const std::function<void()>& waitSlice) {
    FlushWatch watch(pending(), msPerByte);
    QElapsedTimer waited;
    waited.start();
    while (watch.keepWaiting(waited.elapsed(), pending()))
        waitSlice();
}

} // namespace velk
