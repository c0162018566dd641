#pragma once

#include "AutoclickerProfiles.h"

#include <QByteArray>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcAutoclicker)

// autoclicker.json, which holds every autoclicker profile, the current one's name and the
// on/off state, and the files of single exported profiles.
namespace AutoclickerFile {

// The path of autoclicker.json in the data directory.
QString path();

// Reads the profiles with every repair: never fails, and gives at least the "default"
// profile, first in the list, with a current profile chosen. Returns the on/off state,
// already copied into every profile. A file that cannot be used as it is (unreadable, not a
// JSON object, or with profiles that had to be dropped) is first kept beside itself as a
// backup copy, since the caller saves the repaired list over it.
bool load(const QString& filePath, AutoclickerProfiles& profiles);

// Writes the whole list atomically; false when the file cannot be written.
bool save(const QString& filePath, const AutoclickerProfiles& profiles, bool enabled);

// The contents of an exported profile file.
QByteArray exportDocument(const AutoclickerProfile& profile, bool enabled);

// The profile of an imported file's root object: "name" (trimmed; fallbackName when empty)
// and the settings object under "settings", else under "clicker", else the root itself.
AutoclickerProfile importedProfile(const QJsonObject& root, const QString& fallbackName);

} // namespace AutoclickerFile
