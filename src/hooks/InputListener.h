#pragma once

// Hears the user's own input on the hook thread, while it is attached to QGlobalMouseHook:
// the program's own input is left out before it gets here. Called on the hook thread, one
// event at a time and in the order the system reported them; a listener must return quickly
// and must not block, or the system's input waits for it.
class InputListener
{
public:
    virtual ~InputListener() = default;

    // button: 1 left, 2 middle, 3 right, 4 back (X1), 5 forward (X2).
    virtual void buttonEvent(int button, bool pressed) = 0;
    // delta: the wheel's turn in WHEEL_DELTA units, positive away from the user.
    virtual void wheelEvent(int delta) = 0;
    // The mouse's own counts, before the system's acceleration where the system reports them.
    virtual void moveEvent(int dx, int dy) = 0;
    // scanCode: set-1, 0xE0 in the high byte for the extended keys.
    virtual void keyEvent(int scanCode, int virtualKey, bool pressed) = 0;
};
