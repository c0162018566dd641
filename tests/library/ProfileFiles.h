#pragma once

#include "library/ScenarioProfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <QTest>

Q_DECLARE_METATYPE(AutoReplaceRule)
Q_DECLARE_METATYPE(ScenarioProfile)

// The per-user data directory of the test run, where profiles.json and profiles/ live.
inline QString dataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/Clavitor");
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
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Readable failure output for the profile records.
inline char* toString(const MovementModifiers& m)
{
    return QTest::toString(QStringLiteral("{xy %1, x %2, y %3, rand %4}")
                               .arg(m.xy)
                               .arg(m.x)
                               .arg(m.y)
                               .arg(m.rand));
}

inline char* toString(const AutoReplaceRule& r)
{
    return QTest::toString(QStringLiteral("{name \"%1\", description \"%2\", parameter \"%3\", "
                                          "fromValue \"%4\", toValue \"%5\"}")
                               .arg(r.name, r.description, r.parameter, r.fromValue, r.toValue));
}

inline char* toString(const ProfileScenario& s)
{
    const QScopedArrayPointer<char> modifier(toString(s.modifier));
    return QTest::toString(QStringLiteral("{file \"%1\", hotkey \"%2\", modifier %3}")
                               .arg(s.file, s.hotkey, QString::fromUtf8(modifier.data())));
}
