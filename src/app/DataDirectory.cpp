#include "DataDirectory.h"

#include <QDir>
#include <QStandardPaths>

QString dataFilePath(const QString& fileName)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString directory = base + QStringLiteral("/Clavitor");
    // Creation failures surface later, when the file itself cannot be opened.
    QDir().mkpath(base);
    QDir().mkpath(directory);
    return directory + QLatin1Char('/') + fileName;
}
