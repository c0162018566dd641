#pragma once

#include <QString>

// The path of a named file in the program's per-user data directory
// (<AppLocalDataLocation>/Clavitor/<fileName>). Creates the directory and its parents when
// they are missing; never fails.
QString dataFilePath(const QString& fileName);

// The per-user data directory itself (<AppLocalDataLocation>/Clavitor), created when missing.
QString dataDirectoryPath();

// Makes `directory` the data directory for the rest of the run: the one of the instance that
// restarted this one with the administrator's rights, which may run as another user.
void useDataDirectory(const QString& directory);
