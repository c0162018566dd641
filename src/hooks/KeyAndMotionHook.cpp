#include "KeyAndMotionHook.h"

#include "InputListener.h"
#include "platform/Platform.h"

void KeyAndMotionHook::attach(InputListener* listener)
{
    platform::Platform& system = platform::Platform::current();
    if (listener && !s_listener) {
        s_keyboardHook = system.setWindowsHookEx(WH_KEYBOARD_LL, &keyboardProcedure, nullptr, 0);
        s_rawInput = system.registerRawMouseInput(&rawMouse);
        s_hasPosition = false;
    } else if (!listener && s_listener) {
        if (s_rawInput)
            system.registerRawMouseInput(nullptr);
        if (s_keyboardHook)
            system.unhookWindowsHookEx(s_keyboardHook);
        s_keyboardHook = nullptr;
        s_rawInput = false;
    }
    s_listener = listener;
}

void KeyAndMotionHook::mouseMoved(POINT position)
{
    if (!s_listener || s_rawInput)
        return;
    if (s_hasPosition && (position.x != s_position.x || position.y != s_position.y))
        s_listener->moveEvent(position.x - s_position.x, position.y - s_position.y);
    s_position = position;
    s_hasPosition = true;
}

LRESULT CALLBACK KeyAndMotionHook::keyboardProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && key && s_listener && !(key->flags & LLKHF_INJECTED)) {
        const int scanCode =
            static_cast<int>(key->scanCode & 0xFF) | (key->flags & LLKHF_EXTENDED ? 0xE000 : 0);
        s_listener->keyEvent(scanCode, static_cast<int>(key->vkCode),
                             wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN);
    }
    return platform::Platform::current().callNextHookEx(s_keyboardHook, code, wParam, lParam);
}

void KeyAndMotionHook::rawMouse(const RAWMOUSE& mouse, bool injected)
{
    // Absolute reports (tablets, remote desktops) carry positions, not movement.
    if (s_listener && !injected && !(mouse.usFlags & MOUSE_MOVE_ABSOLUTE) &&
        (mouse.lLastX != 0 || mouse.lLastY != 0))
        s_listener->moveEvent(mouse.lLastX, mouse.lLastY);
}
