// Runs the panel's Ticker against the real wall clock and reports, per tick, how far after the
// whole second it arrived, then whether every second was seen exactly once.

#include "clocksync/ticker.h"
#include "controls/localclock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

using namespace velk;

namespace {

constexpr int kDefaultSeconds = 180;

struct Sample {
    qint64 second; // whole second of the wall clock, since the epoch
    double offsetMs;
};

qint64 wallMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int seconds = kDefaultSeconds;
    if (argc > 1) {
        bool ok = false;
        seconds = QString::fromLocal8Bit(argv[1]).toInt(&ok);
        if (!ok || seconds <= 0) {
            std::fprintf(stderr, "usage: %s [seconds > 0, default %d]\n", argv[0], kDefaultSeconds);
            return 2;
        }
    }

    SystemClock clock;
    Ticker ticker(clock);
    std::vector<Sample> samples;
    const qint64 startSecond = Ticker::secondOf(clock.now());
    const qint64 lastSecond = startSecond + seconds;

    ticker.onTick([&] {
        const qint64 micros = wallMicros();
        const qint64 second = micros / 1000000;
        const double offsetMs = double(micros % 1000000) / 1000.0;
        samples.push_back({second, offsetMs});
        const QString wall = QDateTime::fromMSecsSinceEpoch(micros / 1000).toString("HH:mm:ss.zzz");
        std::printf("%s  +%7.3f ms\n", qPrintable(wall), offsetMs);
        std::fflush(stdout);
        if (second >= lastSecond)
            app.quit();
    });
    // Stops the run even if ticks stop coming.
    QTimer::singleShot((seconds + 5) * 1000, &app, &QCoreApplication::quit);
    ticker.start();
    app.exec();

    // Every whole second that began after start() and up to the end of the run.
    const qint64 endSecond = Ticker::secondOf(clock.now());
    std::map<qint64, int> hits;
    std::vector<double> offsets;
    int outside = 0;
    for (const Sample& sample : samples) {
        if (sample.second > startSecond && sample.second <= endSecond)
            ++hits[sample.second];
        else
            ++outside;
        offsets.push_back(sample.offsetMs);
    }
    int once = 0;
    int missed = 0;
    int doubled = 0;
    for (qint64 second = startSecond + 1; second <= endSecond; ++second) {
        const auto found = hits.find(second);
        const int count = found == hits.end() ? 0 : found->second;
        once += count == 1 ? 1 : 0;
        missed += count == 0 ? 1 : 0;
        doubled += count > 1 ? 1 : 0;
    }

    std::printf("\nticks:                 %zu\n", samples.size());
    std::printf("seconds passed:        %lld\n", static_cast<long long>(endSecond - startSecond));
    std::printf("hit exactly once:      %d\n", once);
    std::printf("missed:                %d\n", missed);
    std::printf("doubled:               %d\n", doubled);
    if (outside > 0)
        std::printf("outside the run:       %d (wall clock jumped)\n", outside);
    if (!offsets.empty()) {
        std::printf("offset min/median/max: %.3f / %.3f / %.3f ms\n",
                    *std::min_element(offsets.begin(), offsets.end()), median(offsets),
                    *std::max_element(offsets.begin(), offsets.end()));
    }
    return missed == 0 && doubled == 0 ? 0 : 1;
}
