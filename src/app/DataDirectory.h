#pragma once

#include <QString>

// The path of a named file in the program's per-user data directory
// (<AppLocalDataLocation>/Clavitor/<fileName>). Creates the directory and its parents when
// they are missing; never fails.
QString dataFilePath(const QString& fileName);

// The per-user data directory itself (<AppLocalDataLocation>/Clavitor), created when missing.
QString dataDirectoryPath();
