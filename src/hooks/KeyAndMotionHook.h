#pragma once

#include "platform/WinApi.h"

class InputListener;

// The keyboard hook and raw mouse movement of the hook thread, installed while a listener
// hears them: the user's keys and relative movement go to the listener, the program's own
// (injected) input does not. Where the system gives no raw input, movement is taken from the
// differences between the mouse hook's positions (accelerated and held at the screen's edge).
// Everything here runs on the hook thread only.
class KeyAndMotionHook
{
public:
    // Installs the hooks and makes listener the one that hears; nullptr removes them.
    static void attach(InputListener* listener);
    static InputListener* listener() { return s_listener; }
    // A move the mouse hook saw from the user, at this position.
    static void mouseMoved(POINT position);

private:
    static LRESULT CALLBACK keyboardProcedure(int code, WPARAM wParam, LPARAM lParam);
    static void rawMouse(const RAWMOUSE& mouse, bool injected);

    static inline InputListener* s_listener = nullptr;
    static inline HHOOK s_keyboardHook = nullptr;
    static inline bool s_rawInput = false;
    static inline bool s_hasPosition = false;
    static inline POINT s_position{};
};
