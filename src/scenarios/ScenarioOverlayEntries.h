#pragma once

#include "overlay/OverlayFeed.h"

#include <QList>

class ScriptsModel;
struct ScenarioProfile;

// What the overlay lists of a profile's scenarios: each one's name (its file's base name, or
// "Сценарий N" without a file), its hotkey as shown ("—" where another part of the program
// holds it, so it does not work here) and whether it has a file.
QList<OverlayScenarioEntry> scenarioOverlayEntries(const ScenarioProfile& profile,
                                                   const ScriptsModel& model);
