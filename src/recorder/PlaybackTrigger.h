#pragma once

// When a recorded scenario plays its recording.
struct PlaybackTrigger
{
    enum class Kind
    {
        OnActivation,    // once, as the scenario is activated
        OnButtonPress,   // once on every press of the button
        WhileButtonHeld, // again and again while the button is held, stopping when it is let go
    };

    Kind kind = Kind::OnActivation;
    int button = 5; // the mouse button of the button triggers, 1 to 5
};
