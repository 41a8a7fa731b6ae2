#include "controls/pluginentry.h"

#include <QCoreApplication>
#include <QDir>

namespace velk {

QFunctionPointer pluginEntry(const char* plugin, const char* entry, QString* failure) {
    const QString programFolder = QCoreApplication::applicationDirPath();
    for (const QString& folder :
         {programFolder, QDir(programFolder).filePath(QStringLiteral(VELK_PLUGIN_RELATIVE_DIR))}) {
        QLibrary library(QDir(folder).filePath(QLatin1String(plugin)));
        if (const QFunctionPointer found = library.resolve(entry))
            return found;
        if (failure)
            *failure = library.errorString();
    }
    return nullptr;
}

} // namespace velk
