#pragma once

#include <QtGlobal>

// One thing the user did while the recorder listened. Times are microseconds on one
// monotonic clock (the platform's performance counter converted at capture); only the
// differences between the events of one recording count.
struct RecordedEvent
{
    enum class Kind
    {
        Move,        // relative movement: value dx, detail dy, in pixels, unaccelerated
        Wheel,       // value the wheel's turn in WHEEL_DELTA units (120 a notch), positive
                     // away from the user; smooth wheels turn by parts of a notch
        PressButton, // value the mouse button, 1 left, 2 middle, 3 right, 4 back, 5 forward
        ReleaseButton,
        // value the set-1 scan code as PressKey takes it (0xE0 in the high byte for the
        // extended keys), detail the key's virtual key, which names it
        PressKey,
        ReleaseKey,
    };

    Kind kind = Kind::Move;
    qint64 timeUs = 0;
    int value = 0;
    int detail = 0;

    static RecordedEvent move(qint64 timeUs, int dx, int dy)
    {
        return {Kind::Move, timeUs, dx, dy};
    }
    static RecordedEvent wheel(qint64 timeUs, int delta) { return {Kind::Wheel, timeUs, delta, 0}; }
    static RecordedEvent button(qint64 timeUs, int button, bool pressed)
    {
        return {pressed ? Kind::PressButton : Kind::ReleaseButton, timeUs, button, 0};
    }
    static RecordedEvent key(qint64 timeUs, int scanCode, int virtualKey, bool pressed)
    {
        return {pressed ? Kind::PressKey : Kind::ReleaseKey, timeUs, scanCode, virtualKey};
    }
};
