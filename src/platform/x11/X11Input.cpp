#include "X11Input.h"

#include "X11KeyboardLayouts.h"
#include "X11Keys.h"
#include "X11MouseHook.h"
#include "X11Screens.h"

#include <X11/extensions/XTest.h>

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// The wheel turns that one record may ask for at most: the notches are sent one by one.
constexpr long long kMaxWheelNotches = 1000;

} // namespace

X11Input::X11Input(Display* display, X11Screens& screens, X11KeyboardLayouts& layouts,
                   X11MouseHook& mouseHook)
    : m_display(display), m_screen(DefaultScreen(display)), m_screens(screens), m_layouts(layouts),
      m_mouseHook(mouseHook), m_characters(display, layouts, mouseHook)
{}

UINT X11Input::sendInput(UINT count, const INPUT* inputs)
{
    UINT sent = 0;
    for (UINT i = 0; i < count; ++i) {
        const INPUT& record = inputs[i];
        if ((record.type == INPUT_MOUSE && sendMouse(record.mi)) ||
            (record.type == INPUT_KEYBOARD && sendKeyboard(record.ki)))
            ++sent;
    }
    XFlush(m_display);
    return sent;
}

bool X11Input::sendMouse(const MOUSEINPUT& mouse)
{
    const DWORD flags = mouse.dwFlags;
    if (flags & MOUSEEVENTF_MOVE) {
        if (flags & MOUSEEVENTF_ABSOLUTE) {
            const POINT pixel =
                m_screens.pixelOfAbsoluteMove(mouse.dx, mouse.dy, flags & MOUSEEVENTF_VIRTUALDESK);
            m_mouseHook.noteSentMotion();
            XTestFakeMotionEvent(m_display, m_screen, pixel.x, pixel.y, CurrentTime);
        } else if (mouse.dx != 0 || mouse.dy != 0) {
            // Relative XTEST motion is not accelerated: the pointer moves by exactly this. A
            // move by nothing is not sent: the server would report no motion to count off.
            m_mouseHook.noteSentMotion();
            XTestFakeRelativeMotionEvent(m_display, mouse.dx, mouse.dy, CurrentTime);
        }
    }
    // The order in which Windows delivers the events of one record.
    constexpr std::pair<DWORD, std::pair<unsigned int, bool>> kButtonFlags[] = {
        {MOUSEEVENTF_LEFTDOWN, {1, true}},   {MOUSEEVENTF_LEFTUP, {1, false}},
        {MOUSEEVENTF_RIGHTDOWN, {3, true}},  {MOUSEEVENTF_RIGHTUP, {3, false}},
        {MOUSEEVENTF_MIDDLEDOWN, {2, true}}, {MOUSEEVENTF_MIDDLEUP, {2, false}},
    };
    for (const auto& [flag, button] : kButtonFlags) {
        if (flags & flag)
            sendButton(button.first, button.second);
    }
    for (const DWORD flag : {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP}) {
        if (!(flags & flag))
            continue;
        if (mouse.mouseData & XBUTTON1)
            sendButton(8, flag == MOUSEEVENTF_XDOWN);
        if (mouse.mouseData & XBUTTON2)
            sendButton(9, flag == MOUSEEVENTF_XDOWN);
    }
    // X turns the wheel in whole notches; a part of one waits for the rest.
    auto turn = [this](long long& rest, DWORD mouseData, unsigned int positive,
                       unsigned int negative) {
        rest += static_cast<LONG>(mouseData);
        const long long notches =
            std::clamp(rest / WHEEL_DELTA, -kMaxWheelNotches, kMaxWheelNotches);
        rest -= notches * WHEEL_DELTA;
        for (long long n = 0; n < (notches < 0 ? -notches : notches); ++n) {
            sendButton(notches > 0 ? positive : negative, true);
            sendButton(notches > 0 ? positive : negative, false);
        }
    };
    if (flags & MOUSEEVENTF_WHEEL)
        turn(m_wheelRest, mouse.mouseData, 4, 5);
    if (flags & MOUSEEVENTF_HWHEEL)
        turn(m_horizontalWheelRest, mouse.mouseData, 7, 6);
    return true;
}

void X11Input::sendButton(unsigned int button, bool press)
{
    m_mouseHook.noteSentButton(button, press);
    XTestFakeButtonEvent(m_display, button, press ? True : False, CurrentTime);
}

bool X11Input::sendKeyboard(const KEYBDINPUT& key)
{
    const bool press = !(key.dwFlags & KEYEVENTF_KEYUP);
    if (key.dwFlags & KEYEVENTF_UNICODE)
        return m_characters.type(static_cast<char16_t>(key.wScan), press);
    KeyCode keycode = 0;
    if (key.dwFlags & KEYEVENTF_SCANCODE) {
        const int inputCode =
            X11Keys::inputCodeOfScanCode(key.wScan, key.dwFlags & KEYEVENTF_EXTENDEDKEY);
        keycode = inputCode > 0 ? static_cast<KeyCode>(inputCode + X11Keys::kKeycodeOffset) : 0;
    } else {
        keycode = m_layouts.keycodeOfVirtualKey(key.wVk);
    }
    if (keycode == 0)
        return false;
    m_mouseHook.noteSentKey(keycode, press);
    XTestFakeKeyEvent(m_display, keycode, press ? True : False, CurrentTime);
    return true;
}

} // namespace platform
