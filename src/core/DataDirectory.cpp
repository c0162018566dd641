#include "DataDirectory.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString& chosenDirectory()
{
    static QString directory;
    return directory;
}

} // namespace

void useDataDirectory(const QString& directory)
{
    chosenDirectory() = directory;
}

QString dataDirectoryPath()
{
    if (!chosenDirectory().isEmpty()) {
        QDir().mkpath(chosenDirectory());
        return chosenDirectory();
    }
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString directory = base + QStringLiteral("/Clavitor");
    // Creation failures surface later, when a file in it cannot be opened.
    QDir().mkpath(base);
    QDir().mkpath(directory);
    return directory;
}

QString dataFilePath(const QString& fileName)
{
    return dataDirectoryPath() + QLatin1Char('/') + fileName;
}
