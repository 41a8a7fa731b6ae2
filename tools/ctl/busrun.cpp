#include "ctl/busrun.h"

#include "bus/buslink.h"
#include "ctl/ctloptions.h"

#include <QCoreApplication>

namespace velk {

namespace {

// "now", or the date and time as the bridge reads them.
QString timeRequest(const CtlOptions& options) {
    if (!options.clock)
        return QStringLiteral("now");
    const ClockValues& c = *options.clock;
    return QStringLiteral("20%1-%2-%3 %4:%5").arg(c.year, c.month, c.day, c.hour, c.minute);
}

void sendRequest(BusLink& link, const CtlOptions& options, const BusLink::ResultHandler& done) {
    switch (options.command) {
    case CtlOptions::Command::Title:
        return link.sendTitle(options.address, options.title, done);
    case CtlOptions::Command::Clear:
        return link.sendClear(options.address, done);
    default:
        return link.sendTime(timeRequest(options), done);
    }
}

QString orNotHeard(const QString& text) {
    return text.isEmpty() ? QStringLiteral("(not reported)") : text;
}

} // namespace

QString statusReport(const QString& base, const BusState& state) {
    QString report =
        QStringLiteral("bridge: %1 (%2)\n").arg(orNotHeard(state.availability()), base);
    report += QStringLiteral("line: %1 %2").arg(orNotHeard(state.line()), state.settings());
    if (!state.timeZone().isEmpty())
        report += QStringLiteral(" (time zone %1)").arg(state.timeZone());
    const std::optional<bool> sync = state.sync();
    report += QStringLiteral("\nsync: %1\n")
                  .arg(!sync   ? QStringLiteral("(not reported)")
                       : *sync ? QStringLiteral("on")
                               : QStringLiteral("off"));
    report += QStringLiteral("PC clock of the bridge: %1\n").arg(orNotHeard(state.clock()));
    // An empty title cannot be kept retained: none kept is an empty one.
    for (const quint8 address : state.addresses())
        report +=
            QStringLiteral("title %1: \"%2\"\n")
                .arg(BusState::addressName(address), state.title(address).value_or(QString()));
    return report;
}

void runOnBus(const CtlOptions& options, std::function<void(const QString&)> report, BusDone done) {
    auto* link = new BusLink(options.port, options.access, true, QCoreApplication::instance());
    // Exactly once, whatever ends it first; the link goes once its handlers have returned.
    auto finish = [link, done, finished = std::make_shared<bool>(false)](int status,
                                                                         const QString& why) {
        if (std::exchange(*finished, true))
            return;
        link->stop();
        link->deleteLater();
        done(status, why);
    };
    link->onFailed([finish](const QString& why) { finish(1, why); });
    link->onLost([finish](const QString& why) { finish(1, why); });
    link->onReady([link, &options, report, finish] {
        if (options.command == CtlOptions::Command::Status) {
            report(statusReport(options.port.topicBase, link->state()));
            const bool online = link->state().isOnline();
            return finish(online ? 0 : 1, online ? QString() : link->offlineText());
        }
        sendRequest(*link, options, [finish](const BusLink::Result& result) {
            finish(result.ok() ? 0 : 1, result.reason);
        });
    });
    link->start();
}

} // namespace velk
