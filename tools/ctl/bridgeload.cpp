// velk-ctl's side of `bridge` and of the commands on a bus line: loads the bridge plugin and runs
// them from it.
#include "ctl/bridgeplugin.h"
#include "ctl/bridgerun.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <cstdio>

namespace velk {

namespace {

// The plugin's function `name`, beside the program (the build tree), then where the package
// installs it; null, with `failure`, when it cannot be loaded.
QFunctionPointer pluginEntry(const char* name, QString* failure) {
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& folder :
         {programFolder, QDir(programFolder).filePath(QStringLiteral(VELK_PLUGIN_RELATIVE_DIR))}) {
        QLibrary library(QDir(folder).filePath(QLatin1String(kBridgePlugin)));
        if (const QFunctionPointer entry = library.resolve(name))
            return entry;
        *failure = library.errorString();
    }
    return nullptr;
}

} // namespace

int runBridge(const CtlOptions& options, Line& port, const LocalClock& clock,
              const ClockStateSource& clockState) {
    QString failure;
    if (const auto entry = reinterpret_cast<BridgeEntry>(pluginEntry(kBridgeEntry, &failure)))
        return entry(options, port, clock, clockState);
    std::fprintf(stderr, "velk-ctl: bridge: not available in this installation (%s)\n",
                 qPrintable(failure));
    return 1;
}

void runOnBus(const CtlOptions& options, std::function<void(const QString&)> report, BusDone done) {
    QString failure;
    if (const auto entry = reinterpret_cast<BusEntry>(pluginEntry(kBusEntry, &failure)))
        return entry(options, std::move(report), std::move(done));
    done(1, QStringLiteral("bus lines are not available in this installation (%1)").arg(failure));
}

} // namespace velk
