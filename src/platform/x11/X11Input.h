#pragma once

#include "../WinApi.h"
#include "X11UnicodeInput.h"

#include <X11/Xlib.h>

namespace platform {

class X11KeyboardLayouts;
class X11MouseHook;
class X11Screens;

// SendInput through XTEST: moves (absolute ones on the screens as Windows spans them),
// buttons in the order Windows delivers a record's events, the wheel in whole notches, and
// keys by virtual key, scan code or character.
class X11Input
{
public:
    // display is the callers' connection. Each button, key and motion sent is first noted for
    // the hooks.
    X11Input(Display* display, X11Screens& screens, X11KeyboardLayouts& layouts,
             X11MouseHook& mouseHook);
    X11Input(const X11Input&) = delete;
    X11Input& operator=(const X11Input&) = delete;

    // With the callers' connection's lock held: sends count records; returns how many were
    // sent.
    UINT sendInput(UINT count, const INPUT* inputs);

private:
    bool sendMouse(const MOUSEINPUT& mouse);
    void sendButton(unsigned int button, bool press);
    bool sendKeyboard(const KEYBDINPUT& key);

    Display* m_display;
    int m_screen;
    X11Screens& m_screens;
    X11KeyboardLayouts& m_layouts;
    X11MouseHook& m_mouseHook;
    X11UnicodeInput m_characters;
    long long m_wheelRest = 0;
    long long m_horizontalWheelRest = 0;
};

} // namespace platform
