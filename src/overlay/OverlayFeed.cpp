#include "OverlayFeed.h"

#include "OverlayController.h"

namespace {

OverlayFeed* installedFeed = nullptr;

} // namespace

// Unless a test installs a feed of its own, the pushes go to the overlay itself.
OverlayFeed& OverlayFeed::current()
{
    return installedFeed ? *installedFeed : OverlayController::instance();
}

void OverlayFeed::setCurrent(OverlayFeed* feed)
{
    installedFeed = feed;
}
