#pragma once

#include <QString>

// Whether the scenario page follows the program in front: the key "followForeground" of
// "following.json" in the data directory. It has a file of its own because the binary Settings
// file keeps its exact layout and the top level of profiles.json is the array of profiles,
// which older readers take whole.

// The file's full path.
QString followingSettingPath();

// True unless the file says false: a missing, unreadable or malformed file leaves following on.
bool loadFollowingEnabled();

// Writes the setting atomically, keeping the file's other keys; false, logged, on failure.
bool saveFollowingEnabled(bool enabled);
