#pragma once

#include "AutoReplaceRule.h"
#include "input/MovementModifiers.h"
#include "ProfileScenario.h"

#include <QList>
#include <QString>

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

    friend bool operator==(const ScenarioProfile&, const ScenarioProfile&) = default;
};
