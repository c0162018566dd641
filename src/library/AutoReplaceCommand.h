#pragma once

#include "ScenarioProfile.h"

#include <QCoreApplication>

class QWidget;
class ScriptsModel;

// The "Заменить" command of the auto-replace tab: applies the profile's auto-replace table to
// the profile's scripts and tells the user how it went.
class AutoReplaceCommand
{
    Q_DECLARE_TR_FUNCTIONS(AutoReplaceCommand)

public:
    // Runs the profile's rules (as the table shows them: read them into the profile first) over
    // every script of the profile. A scenario active in `model` (may be null) is deactivated for
    // the run and activated again after it. Every rule that replaced something has its old and
    // new values swapped in `profile`, so that a second run undoes the first; this happens
    // before anything can show a dialog. Returns true when rules were swapped: the caller then shows
    // the profile's rules in the table again and saves the profile list.
    static bool apply(ScenarioProfile& profile, ScriptsModel* model, QWidget* parent);
};
