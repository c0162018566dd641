#pragma once

#include "profiles/ScenarioProfile.h"

#include <QCoreApplication>

#include <functional>

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
    // the run and its row activated again after it. Every rule that replaced something has its
    // old and new values swapped in `profile`, so that a second run undoes the first; then,
    // before anything can show a dialog, `rulesSwapped` is called: the caller shows the profile's
    // rules in the table again and saves the profile list.
    static void apply(ScenarioProfile& profile, ScriptsModel* model, QWidget* parent,
                      const std::function<void()>& rulesSwapped);
};
