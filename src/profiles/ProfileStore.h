#pragma once

#include "ScenarioProfile.h"

#include <QList>
#include <QLoggingCategory>
#include <QString>

// The profiles of scenarios on disk: profiles.json in the data directory, and one directory per
// profile under "profiles/" that holds the profile's scenario files. The store keeps no state;
// the caller owns the profile list and writes the whole list back after each change.

Q_DECLARE_LOGGING_CATEGORY(lcProfiles)

// Full path of profiles.json.
QString profilesFilePath();

// The name with every character of \ / : * ? " < > | removed; nothing else changes.
QString sanitizeProfileName(const QString& name);

// The name of the profile's directory inside "profiles/" (see profileDirectory).
QString profileFolderName(const QString& profileName);

// The directory of the profile's scenario files: "profiles/" + the sanitised name in the data
// directory. It is not created. A name that cannot name a directory of its own (see
// checkProfileDirectoryName) gets a stand-in directory inside "profiles/", so that no name
// ever leads to the profiles folder itself or outside it.
QString profileDirectory(const QString& profileName);

enum class ProfileDirectoryName {
    Usable,
    Unusable, // empty once sanitised, ".", "..", a Windows device name, a trailing dot or blank…
    Collides, // another profile's directory has the same name, regardless of case
};

// Whether `name` can name a profile directory next to the directories of `profiles` (the
// profile at `ignoredIndex`, the one being renamed, does not count). On a refusal `message`, when
// given, receives the text to show.
ProfileDirectoryName checkProfileDirectoryName(const QString& name,
                                               const QList<ScenarioProfile>& profiles,
                                               qsizetype ignoredIndex = -1,
                                               QString* message = nullptr);

// The name for a copy of the profile `name`: "%1 копия", then "%1 копия (2)", "%1 копия (3)"…,
// the first that no profile of `profiles` has, regardless of case, and whose directory is free.
QString duplicateProfileName(const QString& name, const QList<ScenarioProfile>& profiles);

// The profiles of a profiles.json-shaped file as stored: unfiltered, scenario paths as written.
// Empty on any failure, with the reason in `errorMessage` when given.
QList<ScenarioProfile> readProfiles(const QString& filePath, QString* errorMessage = nullptr);

// The profiles of profiles.json without those whose directory is missing or whose name cannot
// name a directory, and without scenarios whose file is missing; scenario paths are absolute.
// A profiles.json that exists but yields no profile is first copied beside itself, since the
// start-up rule (ensureDefaultProfile) replaces it.
QList<ScenarioProfile> loadProfiles();

// Writes the list to `filePath` atomically: a failed or interrupted write leaves the previous
// file whole. On failure `errorMessage`, when given, receives the reason.
bool writeProfiles(const QList<ScenarioProfile>& profiles, const QString& filePath,
                   QString* errorMessage = nullptr);

// writeProfiles to profilesFilePath().
bool saveProfiles(const QList<ScenarioProfile>& profiles);

// The form of a scenario path written to the file: relative to the profile directory with "/"
// separators; only the file name for a path outside the directory or on another drive.
QString storedScenarioPath(const ScenarioProfile& profile, const QString& absolutePath);

// The absolute path of a stored scenario path, always inside the profile directory (a path that
// leads out of it is taken as its file name, as it would be stored). Creates the directory
// that would hold the file. An empty path gives the profile directory, which is created.
QString resolveScenarioPath(const ScenarioProfile& profile, const QString& storedPath);

// Whether the name is that of the reserved profile "default", in any case.
bool isDefaultProfileName(const QString& name);

// Makes the first profile named "default" (in any case) the first of the list, creating it when
// there is none, and creates its directory. Saves the list when it changed.
void ensureDefaultProfile(QList<ScenarioProfile>& profiles);
