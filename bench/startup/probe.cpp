// Preloaded (LD_PRELOAD) into a Qt program to time its start-up from outside, with no change to
// the program measured: notes when its first window has been exposed and painted.
//
//   VELK_PROBE_T0    wall-clock time taken right before exec, seconds since the epoch with a
//                    fraction (bash's $EPOCHREALTIME)
//   VELK_PROBE_OUT   file the result line is appended to (stderr when unset)
//   VELK_PROBE_QUIT  when set, the program is asked to quit once its first window is painted
//
// Result line: "first-frame-ms=F expose-ms=E", both after T0.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <ctime>

namespace {

double wallSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

class FirstFrameWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_exposedAt == 0 && event->type() == QEvent::Expose) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                m_exposedAt = wallSeconds();
                // Runs once the expose, and the paint it starts at once, has been handled.
                QTimer::singleShot(0, this, &FirstFrameWatch::report);
            }
        }
        return false;
    }

private:
    void report() {
        const double painted = wallSeconds();
        bool known = false;
        // $EPOCHREALTIME follows the locale's decimal point.
        const double start = qgetenv("VELK_PROBE_T0").replace(',', '.').toDouble(&known);
        const QByteArray outPath = qgetenv("VELK_PROBE_OUT");
        FILE* out = outPath.isEmpty() ? stderr : std::fopen(outPath.constData(), "a");
        if (out) {
            if (known)
                std::fprintf(out, "first-frame-ms=%.3f expose-ms=%.3f\n", (painted - start) * 1000,
                             (m_exposedAt - start) * 1000);
            else
                std::fprintf(out, "first-frame-ms=unknown (VELK_PROBE_T0 not set)\n");
            if (out != stderr)
                std::fclose(out);
        }
        if (qEnvironmentVariableIsSet("VELK_PROBE_QUIT"))
            QCoreApplication::quit();
    }

    double m_exposedAt = 0;
};

void installWatch() {
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new FirstFrameWatch(app));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installWatch)
