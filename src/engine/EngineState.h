#pragma once

// The scenario engine's process-wide flags. They outlive the models (a profile switch
// replaces the model, not the flags) and are touched only on the GUI thread.
struct EngineState
{
    // Mouse-button events reach OnEvent; set just before "PROFILE_ACTIVATED" is delivered.
    bool eventsEnabled = false;
    // A scenario is active; set once "PROFILE_ACTIVATED" has been delivered.
    bool scenarioActive = false;
    // Left-button events are wanted; set only by the script.
    bool primaryButtonEventsEnabled = false;

    static EngineState& instance();
};
