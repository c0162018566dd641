#pragma once

#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>

// The user presses a combination (MOD_* bits and a virtual key) on the simulated desktop; the
// press is handled before this returns. False when no hotkey is registered for it.
inline bool pressHotKey(platform::SimulatedPlatform& desktop, UINT modifiers, UINT virtualKey)
{
    const bool registered = desktop.pressHotKey(modifiers, virtualKey);
    QCoreApplication::sendPostedEvents();
    return registered;
}
