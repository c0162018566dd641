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
    AutoclickerActivity autoclickerActivity = AutoclickerActivity::Off;
    QString disableHotkeyText;
    QString toggleHotkeyText; // the autoclicker's on/off hotkey
    QString modeHotkeyText;   // the autoclicker's start/stop hotkey
    QString recordingText;    // the macro recorder's state; empty while it does not record
    QString noticeText;       // a notice for the user; empty when there is none

    bool operator==(const OverlayContent&) const = default;
};
