#pragma once

#include "profiles/ScenarioProfile.h"

#include <QList>

class ForegroundWatch;
class ScriptsModel;

// What following the program in front needs of the page that shows the profiles: the list,
// which one is current, its scenario model, the switch that following makes, and the watch of
// the program in front. The page's signals reach the follower through connections made where
// both are put together.
class FollowedPage
{
public:
    virtual const QList<ScenarioProfile>& profiles() const = 0;
    // The current profile's index in profiles(); -1 while none is current.
    virtual qsizetype currentProfileIndex() const = 0;
    virtual ScriptsModel* scriptsModel() const = 0;
    // Makes the profile current for the program in front; false while the page cannot.
    virtual bool followProgram(qsizetype index) = 0;
    virtual ForegroundWatch& foregroundWatch() = 0;

protected:
    ~FollowedPage() = default;
};
