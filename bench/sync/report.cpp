// Reads what bench/sync/run recorded for the phase-locked run and the naive baseline and prints,
// for each, how late after every whole minute its clock group reached the line, which minutes
// were synced, missed or doubled, and whether each group carried the minute it was sent in.
//
//   bench-sync-report PHASE_DIR NAIVE_DIR [NAME NAME]
//
// Two names put other runs side by side under their own names (bench/ctl-sync/run: velk-ctl and
// the panel); the first run is then the one held to the exit status.
//
//   bench-sync-report --floor FLOOR_DIR
//
// reads the floor's run instead (bench-sync-floor: one byte per whole minute, no groups) and
// prints its delays on one line with the word "floor".
//
// Each folder holds:
//   driver.out   the "window ..." line of bench-sync
//   line.log     socat's -x -v log of the line: one "> yyyy/MM/dd HH:mm:ss.frac length=N" header
//                per chunk it carried, timed when socat read it off the panel's end
//   monitor.out  velk-monitor's lines; its "clock set to" lines identify the groups and their
//                values, the log's timestamps say when their first byte went out
//
// Exit status 1 when the phase-locked run missed or doubled a minute, sent a wrong minute, or
// left bytes on the line unaccounted for.

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace {

constexpr qint64 kMinuteMs = 60000;
constexpr qint64 kMinuteUs = kMinuteMs * 1000;
// Chunks closer than this belong to one group: a group is written in one go, groups are a
// minute apart.
constexpr qint64 kBurstGapUs = 200000;
// velk-monitor prints a group once its last byte is in, in whole milliseconds; its first byte
// went out at most this long before.
constexpr qint64 kMatchWindowUs = 1000000;
constexpr qint64 kMonitorRoundingUs = 2000;

struct Window {
    QString mode;
    qint64 fromMs = 0;
    qint64 firstMs = 0;
    qint64 lastMs = 0;
};

struct Burst {
    qint64 startUs = 0; // first byte, microseconds since the epoch
    qint64 endUs = 0;
    int bytes = 0;
    bool matched = false;
};

struct Group {
    qint64 printedUs = 0;
    int hour = 0;
    int minute = 0;
    int day = 0;
    int month = 0;
    int year = 0;
};

struct Result {
    int passed = 0;
    int once = 0;
    int missed = 0;
    int doubled = 0;
    int outside = 0;
    int rightValue = 0;
    int groups = 0;
    int unmatchedGroups = 0;
    int strayBursts = 0;
    int oddSizes = 0;
    std::vector<double> delaysMs;
};

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "bench-sync-report: cannot read %s\n", qPrintable(path));
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

std::optional<Window> readWindow(const QString& path) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^window mode=(\S+) from=(\d+) first=(\d+) last=(\d+))"));
    for (const QString& line : readLines(path)) {
        const QRegularExpressionMatch match = pattern.match(line);
        if (match.hasMatch())
            return Window{match.captured(1), match.captured(2).toLongLong(),
                          match.captured(3).toLongLong(), match.captured(4).toLongLong()};
    }
    return std::nullopt;
}

// socat 1.7.4 prints the microseconds of its timestamps zero-padded to nine digits; a socat that
// prints nanoseconds there shows values of a million and more in any run of some length.
std::vector<Burst> readBursts(const QString& path) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^> (\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)\.(\d+)\s+length=(\d+))"));
    struct Chunk {
        qint64 secondMs;
        QString fraction;
        int length;
    };
    std::vector<Chunk> chunks;
    bool nanoseconds = false;
    for (const QString& line : readLines(path)) {
        const QRegularExpressionMatch match = pattern.match(line);
        if (!match.hasMatch())
            continue;
        const QDateTime second =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        const QString fraction = match.captured(2);
        if (fraction.size() == 9 && fraction.toLongLong() >= 1000000)
            nanoseconds = true;
        chunks.push_back({second.toMSecsSinceEpoch(), fraction, match.captured(3).toInt()});
    }
    std::vector<Burst> bursts;
    for (const Chunk& chunk : chunks) {
        qint64 micros = chunk.fraction.toLongLong();
        if (chunk.fraction.size() == 9 && nanoseconds)
            micros /= 1000;
        else if (chunk.fraction.size() != 9 && chunk.fraction.size() != 6)
            micros = qint64(QStringLiteral("0.%1").arg(chunk.fraction).toDouble() * 1e6);
        const qint64 at = chunk.secondMs * 1000 + micros;
        if (!bursts.empty() && at - bursts.back().endUs < kBurstGapUs) {
            bursts.back().endUs = at;
            bursts.back().bytes += chunk.length;
        } else {
            bursts.push_back({at, at, chunk.length, false});
        }
    }
    return bursts;
}

int monthNumber(const QString& name) {
    static const QStringList names = {
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    return int(names.indexOf(name)) + 1;
}

// The monitor prints the time of day only; the run's date comes from the driver, and a time far
// before the start of the run belongs to the next day.
std::vector<Group> readGroups(const QString& path, const Window& window) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(\d\d:\d\d:\d\d\.\d{3}) clock set to (\d\d):(\d\d) on (\d+) (\w+), year (\d\d))"));
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(window.fromMs);
    std::vector<Group> groups;
    for (const QString& line : readLines(path)) {
        const QRegularExpressionMatch match = pattern.match(line);
        if (!match.hasMatch())
            continue;
        const QTime time = QTime::fromString(match.captured(1), QStringLiteral("HH:mm:ss.zzz"));
        QDateTime printed(start.date(), time);
        if (printed.toMSecsSinceEpoch() < window.fromMs - 12 * 3600 * 1000LL)
            printed = printed.addDays(1);
        groups.push_back({printed.toMSecsSinceEpoch() * 1000, match.captured(2).toInt(),
                          match.captured(3).toInt(), match.captured(4).toInt(),
                          monthNumber(match.captured(5)), match.captured(6).toInt()});
    }
    return groups;
}

// The burst that made a group: the latest one not yet taken that began before the monitor
// printed the group, and not too long before.
Burst* burstFor(const Group& group, std::vector<Burst>& bursts) {
    Burst* best = nullptr;
    for (Burst& burst : bursts) {
        if (burst.matched || burst.startUs > group.printedUs + kMonitorRoundingUs)
            continue;
        if (group.printedUs - burst.startUs > kMatchWindowUs)
            continue;
        if (!best || burst.startUs > best->startUs)
            best = &burst;
    }
    return best;
}

bool carriesMinute(const Group& group, qint64 minuteStartMs) {
    const QDateTime minute = QDateTime::fromMSecsSinceEpoch(minuteStartMs);
    return group.hour == minute.time().hour() && group.minute == minute.time().minute() &&
           group.day == minute.date().day() && group.month == minute.date().month() &&
           group.year == minute.date().year() % 100;
}

Result analyse(const Window& window, std::vector<Burst>& bursts, const std::vector<Group>& groups) {
    Result result;
    result.groups = int(groups.size());
    std::map<qint64, int> perMinute;
    for (const Group& group : groups) {
        qint64 sentUs = group.printedUs;
        if (Burst* burst = burstFor(group, bursts)) {
            burst->matched = true;
            sentUs = burst->startUs;
            if (burst->bytes != 20)
                ++result.oddSizes;
        } else {
            // Without a burst the monitor's own time stands in, a little late.
            ++result.unmatchedGroups;
        }
        const qint64 minuteStartUs = sentUs - sentUs % kMinuteUs;
        const qint64 minuteStartMs = minuteStartUs / 1000;
        if (minuteStartMs < window.firstMs || minuteStartMs > window.lastMs) {
            ++result.outside;
            continue;
        }
        ++perMinute[minuteStartMs];
        result.rightValue += carriesMinute(group, minuteStartMs) ? 1 : 0;
        result.delaysMs.push_back(double(sentUs - minuteStartUs) / 1000.0);
    }
    for (const Burst& burst : bursts)
        result.strayBursts += burst.matched ? 0 : 1;
    for (qint64 minute = window.firstMs; minute <= window.lastMs; minute += kMinuteMs) {
        ++result.passed;
        const auto found = perMinute.find(minute);
        const int count = found == perMinute.end() ? 0 : found->second;
        result.once += count == 1 ? 1 : 0;
        result.missed += count == 0 ? 1 : 0;
        result.doubled += count > 1 ? 1 : 0;
    }
    return result;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QString clockText(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("HH:mm"));
}

void print(const char* title, const Window& window, const Result& result) {
    const int inWindow = int(result.delaysMs.size());
    std::printf("%s\n", title);
    std::printf("  minutes passed:                 %d (%s to %s)\n", result.passed,
                qPrintable(clockText(window.firstMs)), qPrintable(clockText(window.lastMs)));
    std::printf("  synced exactly once:            %d\n", result.once);
    std::printf("  missed:                         %d\n", result.missed);
    std::printf("  doubled:                        %d\n", result.doubled);
    std::printf("  group carries its minute:       %d of %d\n", result.rightValue, inWindow);
    if (!result.delaysMs.empty()) {
        const auto [low, high] =
            std::minmax_element(result.delaysMs.begin(), result.delaysMs.end());
        std::printf("  delay to first byte min/median/max: %.3f / %.3f / %.3f ms\n", *low,
                    median(result.delaysMs), *high);
    }
    if (result.outside > 0)
        std::printf("  groups outside the run's minutes: %d\n", result.outside);
    if (result.unmatchedGroups > 0)
        std::printf("  groups timed by the monitor (no socat record): %d\n",
                    result.unmatchedGroups);
    if (result.strayBursts > 0)
        std::printf("  bytes on the line not decoded as a group: %d bursts\n", result.strayBursts);
    if (result.oddSizes > 0)
        std::printf("  groups not 20 bytes long: %d\n", result.oddSizes);
}

std::optional<std::pair<Window, Result>> analyseFolder(const QString& folder) {
    const std::optional<Window> window = readWindow(folder + QStringLiteral("/driver.out"));
    if (!window) {
        std::fprintf(stderr, "bench-sync-report: no run window in %s/driver.out\n",
                     qPrintable(folder));
        return std::nullopt;
    }
    std::vector<Burst> bursts = readBursts(folder + QStringLiteral("/line.log"));
    const std::vector<Group> groups = readGroups(folder + QStringLiteral("/monitor.out"), *window);
    return std::make_pair(*window, analyse(*window, bursts, groups));
}

int reportFloor(const QString& folder) {
    const std::optional<Window> window = readWindow(folder + QStringLiteral("/driver.out"));
    if (!window)
        return 2;
    std::vector<double> delaysMs;
    for (const Burst& burst : readBursts(folder + QStringLiteral("/line.log"))) {
        const qint64 minuteStartUs = burst.startUs - burst.startUs % kMinuteUs;
        if (minuteStartUs / 1000 >= window->firstMs && minuteStartUs / 1000 <= window->lastMs)
            delaysMs.push_back(double(burst.startUs - minuteStartUs) / 1000.0);
    }
    if (delaysMs.empty()) {
        std::printf("floor: no bytes in the run's minutes\n");
        return 1;
    }
    const auto [low, high] = std::minmax_element(delaysMs.begin(), delaysMs.end());
    std::printf("floor (clock_nanosleep TIMER_ABSTIME, one byte), %d minutes, delay to first "
                "byte min/median/max: %.3f / %.3f / %.3f ms\n",
                int(delaysMs.size()), *low, median(delaysMs), *high);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--floor")
        return reportFloor(QString::fromLocal8Bit(argv[2]));
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: bench-sync-report PHASE_DIR NAIVE_DIR [NAME NAME]\n");
        return 2;
    }
    const auto phase = analyseFolder(QString::fromLocal8Bit(argv[1]));
    const auto naive = analyseFolder(QString::fromLocal8Bit(argv[2]));
    if (!phase || !naive)
        return 2;

    const bool named = argc == 5;
    const QByteArray first = named ? QByteArray(argv[3]) : QByteArray("phase-locked");
    const QByteArray second = named ? QByteArray(argv[4]) : QByteArray("baseline");
    print(named ? first.constData() : "phase-locked Ticker (the panel as built)", phase->first,
          phase->second);
    print(named ? second.constData()
                : "baseline: free-running QTimer, 1000 ms, default (coarse) timer type",
          naive->first, naive->second);
    const std::vector<double>& phaseDelays = phase->second.delaysMs;
    const std::vector<double>& naiveDelays = naive->second.delaysMs;
    if (!phaseDelays.empty() && !naiveDelays.empty()) {
        const double ratio = median(phaseDelays) / median(naiveDelays);
        std::printf("ratio of median delays, %s / %s: %.4f", first.constData(), second.constData(),
                    ratio);
        if (ratio > 0 && !named)
            std::printf(" (baseline %.1f times later)", 1.0 / ratio);
        std::printf("\n");
    }

    const Result& result = phase->second;
    // A group outside the run's minutes is no fault: the box was ticked during a second 00.
    const bool sound = result.missed == 0 && result.doubled == 0 &&
                       result.rightValue == int(result.delaysMs.size()) &&
                       result.strayBursts == 0 && result.oddSizes == 0 && result.passed > 0;
    return sound ? 0 : 1;
}
