#pragma once

class ElevationWarning;
class ProfileFollower;
class ScriptsListWidget;

// The scenario page's signals that following the program in front and the notice of elevated
// programs listen to, connected where they are put together with the page.
namespace FollowingConnections {

void connect(ScriptsListWidget& page, ProfileFollower& follower);
void connect(ScriptsListWidget& page, ElevationWarning& warning);

} // namespace FollowingConnections
