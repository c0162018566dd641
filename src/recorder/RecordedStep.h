#pragma once

#include <QList>

// One step of a recorded scenario: one call of the scripting functions, played in order.
struct RecordedStep
{
    enum class Kind
    {
        Sleep,       // value milliseconds
        Move,        // MoveMouseRelative: value dx, detail dy
        Wheel,       // MoveMouseWheel: value notches, positive away from the user
        PressButton, // value the mouse button, 1 to 5
        ReleaseButton,
        // value the scan code PressKey takes, detail the virtual key that names the key in
        // the script
        PressKey,
        ReleaseKey,
    };

    Kind kind = Kind::Sleep;
    int value = 0;
    int detail = 0;

    static RecordedStep sleep(int ms) { return {Kind::Sleep, ms, 0}; }
    static RecordedStep move(int dx, int dy) { return {Kind::Move, dx, dy}; }
    static RecordedStep wheel(int notches) { return {Kind::Wheel, notches, 0}; }
    static RecordedStep button(int button, bool pressed)
    {
        return {pressed ? Kind::PressButton : Kind::ReleaseButton, button, 0};
    }
    static RecordedStep key(int scanCode, int virtualKey, bool pressed)
    {
        return {pressed ? Kind::PressKey : Kind::ReleaseKey, scanCode, virtualKey};
    }

    friend bool operator==(const RecordedStep&, const RecordedStep&) = default;
};

// The steps of a recording, and the wait after the last of them until the moment the
// recording was stopped (or, with a fixed delay between steps, that delay): a playback that
// repeats waits it before it starts again.
struct RecordedSteps
{
    QList<RecordedStep> steps;
    int tailMs = 0;
};
