// velk-ctl's side of `bridge`: loads the bridge plugin and runs the bridge from it.
#include "ctl/bridgeplugin.h"
#include "ctl/bridgerun.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <cstdio>

namespace velk {

int runBridge(const CtlOptions& options, Line& port, const LocalClock& clock,
              const ClockStateSource& clockState) {
    // Beside the program (the build tree), then where the package installs it.
    const QString programFolder = QCoreApplication::applicationDirPath();
    QString failure;
    for (const QString& folder :
         {programFolder, QDir(programFolder).filePath(QStringLiteral(VELK_PLUGIN_RELATIVE_DIR))}) {
        QLibrary library(QDir(folder).filePath(QLatin1String(kBridgePlugin)));
        if (const auto entry = reinterpret_cast<BridgeEntry>(library.resolve(kBridgeEntry)))
            return entry(options, port, clock, clockState);
        failure = library.errorString();
    }
    std::fprintf(stderr, "velk-ctl: bridge: not available in this installation (%s)\n",
                 qPrintable(failure));
    return 1;
}

} // namespace velk
