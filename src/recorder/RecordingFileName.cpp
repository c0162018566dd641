#include "RecordingFileName.h"

#include "profiles/ScenarioFiles.h"

#include <QDir>
#include <QFileInfo>

QString RecordingFileName::freeIn(const QString& profileDirectory)
{
    const QDir directory(profileDirectory);
    return ScenarioFiles::firstFreeName(
        1,
        [&](int n) { return directory.filePath(tr("Запись %1").arg(n) + QStringLiteral(".lua")); },
        [](const QString& path) { return QFileInfo::exists(path); });
}
