#pragma once

#include "OverlayFeed.h"

#include <QList>
#include <QString>

// What the overlay shows, as the pages pushed it.
struct OverlayContent
{
    QString profileName;
    QList<OverlayScenarioEntry> scenarios;
    QString activeScenario;
    QString autoclickerName;
    bool autoclickerEnabled = false;
    QString disableHotkeyText;
    QString toggleHotkeyText; // the autoclicker's on/off hotkey
    QString modeHotkeyText;   // the autoclicker's start/stop hotkey

    bool operator==(const OverlayContent&) const = default;
};
