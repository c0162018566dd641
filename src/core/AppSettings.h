#pragma once

#include "OverlaySettings.h"
#include "SettingsNormalization.h"

#include <QString>

// The application-wide settings record, held in the file "Settings" of the data directory.
// Hotkeys are portable key-sequence text.
struct AppSettings
{
    bool isSound = true;
    bool scenarioSpeechEnabled = false;
    quint8 controlMode = 0; // 0 system API, 1 driver
    double systemApiXY = 1.0;
    double systemApiX = 1.0;
    double systemApiY = 1.0;
    double driverXY = 1.0;
    double driverX = 1.0;
    double driverY = 1.0;
    QString lastProfile = QStringLiteral("default");
    QString lastPage = QStringLiteral("home");
    QString theme = QStringLiteral("default");
    QString language = systemLanguage();
    QString reservedText; // kept and written back unchanged
    QString scenarioSpeechVoice;
    double scenarioSpeechRate = 1.5;
    QString deactivationHotkey = QStringLiteral("Alt+X");
    QString autoclickerToggleHotkey = QStringLiteral("Alt+A");
    QString overlayHotkey = QStringLiteral("Alt+O");
    OverlaySettings overlay;
    // Windows: start with the administrator's rights (the program restarts itself so).
    bool runElevated = false;
    // The memory each profile's scenarios may take, in MiB (see clampScriptMemoryLimit).
    qint32 scriptMemoryLimitMiB = kDefaultScriptMemoryLimitMiB;
};
