#pragma once

#include "../WinApi.h"

#include <X11/Xlib.h>

#include <array>

namespace platform {

class X11KeyboardLayouts;

// GetAsyncKeyState and GetKeyState: whether a key or mouse button is down, from the
// server's key map and pointer, and the toggles of the lock keys from the XKB indicators.
class X11KeyState
{
public:
    // display is the callers' connection; the pointer and the indicators are looked up here.
    X11KeyState(Display* display, X11KeyboardLayouts& layouts);
    X11KeyState(const X11KeyState&) = delete;
    X11KeyState& operator=(const X11KeyState&) = delete;

    // With the callers' connection's lock held: the high bit while down and, withToggle, the
    // low bit while a lock key is on.
    SHORT keyState(int virtualKey, bool withToggle);

private:
    bool pointerButtonDown(int button);

    Display* m_display;
    Window m_root;
    X11KeyboardLayouts& m_layouts;
    int m_pointer = 0; // the pointer whose buttons are read (XInput2), 0 without XInput2
    std::array<Atom, 3> m_lockIndicators{}; // Caps Lock, Num Lock, Scroll Lock
};

} // namespace platform
