#pragma once

#include "profiles/ScenarioProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

Q_DECLARE_METATYPE(AutoReplaceRule)

// The per-user data directory of the test run, where profiles.json and profiles/ live.
inline QString dataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/Clavitor";
}

inline void removeDataDirectory()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .removeRecursively();
}

// Writes a file, creating its directory.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline ScenarioProfile named(const QString& name)
{
    ScenarioProfile profile;
    profile.name = name;
    return profile;
}
