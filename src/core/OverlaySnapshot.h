#pragma once

#include "OverlaySettings.h"

#include <optional>

// The overlay block as last saved or handed to the overlay in this run. Once taken, every
// load of the settings sees this block instead of the file's, so the overlay state of the
// running program is never replaced by older file contents. GUI thread only.
class OverlaySnapshot
{
public:
    static const std::optional<OverlaySettings>& current();
    static void take(const OverlaySettings& overlay);
    // Forgets the snapshot, as at process start.
    static void clear();

private:
    static std::optional<OverlaySettings> s_snapshot;
};
