#pragma once

#include "AutoReplaceRule.h"
#include "ProfileScenario.h"
#include "input/MovementModifiers.h"

#include <QList>
#include <QString>
#include <QStringList>

// A named set of scenarios with its movement modifiers and auto-replace table. The name also
// names the profile's directory, which holds the scenario files.
struct ScenarioProfile
{
    QString name;
    QString description;
    MovementModifiers modifier;
    QList<ProfileScenario> scenarios;
    QList<AutoReplaceRule> autoReplacements;
    // Stored with the profile and copied with it; nothing depends on it.
    bool autoReplaceLockFromColumn = true;
    // The programs this profile is for (executable file names such as "game.exe", or an X11
    // window class): the profile becomes current while one of them is in front. A program is
    // listed by one profile only.
    QStringList programs;
    // The user let the scenarios use files, programs and native code (the whole Lua library).
    // Never carried by an import or a duplicate.
    bool trusted = false;

    friend bool operator==(const ScenarioProfile&, const ScenarioProfile&) = default;
};
