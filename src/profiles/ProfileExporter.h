#pragma once

#include "ScenarioProfile.h"

#include <QCoreApplication>

class QWidget;

// The profile export command: one archive with the profile's manifest and every file of its
// scenarios and of its folder.
class ProfileExporter
{
    Q_DECLARE_TR_FUNCTIONS(ProfileExporter)

public:
    // Asks for the target file (proposed: the profile's name with ".zip") and writes the
    // profile into it: "manifest.json" (the profile alone, in the profiles.json format, each
    // scenario's file relative to the profile folder) first, then the scenario files at their
    // relative paths (a file outside the profile folder at the archive's root), then every
    // other file of the profile folder. Take the current description and auto-replace table
    // into `profile` before the call. Tells the user the outcome; leaves the profile list and
    // the profile folder untouched, and an existing archive intact when the export fails.
    // Nothing to do after the call.
    static bool run(const ScenarioProfile& profile, QWidget* parent);
};
