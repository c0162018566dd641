#pragma once

#include "AppSettings.h"

// Names of the dynamic properties on the application object through which the settings
// reach their readers ("<key>_app_property").
namespace AppProperty {
inline constexpr char isSound[] = "isSound_app_property";
inline constexpr char scenarioSpeechEnabled[] = "scenarioSpeechEnabled_app_property";
inline constexpr char scenarioSpeechVoice[] = "scenarioSpeechVoice_app_property";
inline constexpr char scenarioSpeechRate[] = "scenarioSpeechRate_app_property";
inline constexpr char controlMode[] = "controlMode_app_property";
inline constexpr char systemApiXY[] = "systemApiXY_app_property";
inline constexpr char systemApiX[] = "systemApiX_app_property";
inline constexpr char systemApiY[] = "systemApiY_app_property";
inline constexpr char driverXY[] = "driverXY_app_property";
inline constexpr char driverX[] = "driverX_app_property";
inline constexpr char driverY[] = "driverY_app_property";
inline constexpr char theme[] = "theme_app_property";
inline constexpr char language[] = "language_app_property";
inline constexpr char profileXY[] = "profileXY_app_property";
inline constexpr char profileX[] = "profileX_app_property";
inline constexpr char profileY[] = "profileY_app_property";
inline constexpr char profileRand[] = "profileRand_app_property";
inline constexpr char scenarioXY[] = "scenarioXY_app_property";
inline constexpr char scenarioX[] = "scenarioX_app_property";
inline constexpr char scenarioY[] = "scenarioY_app_property";
inline constexpr char scenarioRand[] = "scenarioRand_app_property";
inline constexpr char scriptMemoryLimitMiB[] = "scriptMemoryLimitMiB_app_property";
inline constexpr char scenarioActivationResult[] = "scenarioActivationResult_app_property";
} // namespace AppProperty

// Publishes the fourteen settings properties of the record on the application object. (Its
// overlay block and hotkey go to the overlay from start-up and the settings page.)
void applySettings(const AppSettings& settings);

// Gives the profile and scenario modifier properties their start values: factors 1.0,
// jitter 0.0.
void publishModifierDefaults();
