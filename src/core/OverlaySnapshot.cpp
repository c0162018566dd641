#include "OverlaySnapshot.h"

std::optional<OverlaySettings> OverlaySnapshot::s_snapshot;

const std::optional<OverlaySettings>& OverlaySnapshot::current()
{
    return s_snapshot;
}

void OverlaySnapshot::take(const OverlaySettings& overlay)
{
    s_snapshot = overlay;
}

void OverlaySnapshot::clear()
{
    s_snapshot.reset();
}
