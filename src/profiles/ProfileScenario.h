#pragma once

#include "input/MovementModifiers.h"

#include <QString>

// One scenario of a profile.
struct ProfileScenario
{
    // Lua script file: absolute in memory, relative to the profile directory in profiles.json;
    // empty while no file has been chosen.
    QString file;
    QString hotkey; // key-sequence text, e.g. "Alt+X"; empty means none
    MovementModifiers modifier;

    friend bool operator==(const ProfileScenario&, const ProfileScenario&) = default;
};
