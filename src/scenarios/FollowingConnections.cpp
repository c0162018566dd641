#include "FollowingConnections.h"

#include "ScriptsListWidget.h"
#include "following/ElevationWarning.h"
#include "following/ProfileFollower.h"

namespace FollowingConnections {

void connect(ScriptsListWidget& page, ProfileFollower& follower)
{
    QObject::connect(&page, &ScriptsListWidget::sigProfileChanged, &follower,
                     &ProfileFollower::onProfileChanged);
    QObject::connect(&page, &ScriptsListWidget::sigScenarioActivationChanged, &follower,
                     &ProfileFollower::onScenarioActivationChanged);
    QObject::connect(&page, &ScriptsListWidget::sigFollowingChanged, &follower,
                     &ProfileFollower::setEnabled);
}

void connect(ScriptsListWidget& page, ElevationWarning& warning)
{
    QObject::connect(&page, &ScriptsListWidget::sigScenarioActivationChanged, &warning,
                     &ElevationWarning::onScenarioActivationChanged);
}

} // namespace FollowingConnections
