#pragma once

// Helpers of the shell tests: the settings file as the tests see it, and running the event
// loop to learn whether an action ends the program.

#include "core/DataDirectory.h"
#include "core/SettingsFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <functional>
#include <memory>

inline QString settingsPath()
{
    return dataFilePath(QStringLiteral("Settings"));
}

inline QByteArray settingsBytes()
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the settings with lastPage set to the id, all else default.
inline void storeLastPage(const QString& id)
{
    AppSettings settings;
    settings.lastPage = id;
    saveSettings(settings);
}

inline const QDateTime kOldFileTime = QDateTime(QDate(2001, 1, 1), QTime(12, 0), Qt::UTC);

// Dates the settings file back, so that settingsFileWritten() tells whether anything wrote
// it since (every write replaces the file).
inline void ageSettingsFile()
{
    QFile file(settingsPath());
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(kOldFileTime, QFileDevice::FileModificationTime))
        qFatal("cannot date back %s", qPrintable(settingsPath()));
}

inline bool settingsFileWritten()
{
    return QFileInfo(settingsPath()).lastModified().toUTC() != kOldFileTime;
}

// Runs the event loop, does the action in it and tells whether the action ended the loop
// through QCoreApplication::quit(). When it did not, a call queued behind the action ends the
// loop on the next pass, so the test never hangs.
inline bool actionQuitsTheProgram(const std::function<void()>& action)
{
    constexpr int kNotQuit = 77;
    auto guard = std::make_unique<QObject>();
    QTimer::singleShot(0, guard.get(), [&guard, &action] {
        action();
        // Posted now, so it runs on the next pass of the loop, which a quit does not reach.
        QMetaObject::invokeMethod(
            guard.get(), [] { QCoreApplication::exit(kNotQuit); }, Qt::QueuedConnection);
    });
    const int exitCode = QCoreApplication::exec();
    guard.reset(); // drops the queued exit when the loop ended before it
    return exitCode == 0;
}
