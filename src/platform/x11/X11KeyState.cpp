#include "X11KeyState.h"

#include "X11KeyboardLayouts.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XInput2.h>

#include <cstddef>

namespace platform {

X11KeyState::X11KeyState(Display* display, X11KeyboardLayouts& layouts)
    : m_display(display), m_root(DefaultRootWindow(display)), m_layouts(layouts)
{
    // The core protocol tells the state of buttons 1 to 5 only; XInput2 that of all of them.
    int opcode = 0, event = 0, error = 0, major = 2, minor = 0;
    int deviceCount = 0;
    XIDeviceInfo* devices = nullptr;
    if (XQueryExtension(display, "XInputExtension", &opcode, &event, &error) &&
        XIQueryVersion(display, &major, &minor) == Success &&
        (devices = XIQueryDevice(display, XIAllMasterDevices, &deviceCount))) {
        for (int i = 0; i < deviceCount && m_pointer == 0; ++i) {
            if (devices[i].use == XIMasterPointer)
                m_pointer = devices[i].deviceid; // the virtual core pointer
        }
        XIFreeDeviceInfo(devices);
    }
    char capsLock[] = "Caps Lock", numLock[] = "Num Lock", scrollLock[] = "Scroll Lock";
    char* indicatorNames[] = {capsLock, numLock, scrollLock};
    XInternAtoms(display, indicatorNames, 3, False, m_lockIndicators.data());
}

SHORT X11KeyState::keyState(int virtualKey, bool withToggle)
{
    if (virtualKey <= 0 || virtualKey > 0xFF)
        return 0;
    bool down = false;
    if (virtualKey == VK_LBUTTON || virtualKey == VK_MBUTTON || virtualKey == VK_RBUTTON) {
        Window rootReturn = 0, child = 0;
        int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
        unsigned int mask = 0;
        XQueryPointer(m_display, m_root, &rootReturn, &child, &rootX, &rootY, &windowX, &windowY,
                      &mask);
        const unsigned int button = virtualKey == VK_LBUTTON   ? Button1Mask
                                    : virtualKey == VK_MBUTTON ? Button2Mask
                                                               : Button3Mask;
        down = mask & button;
    } else if (virtualKey == VK_XBUTTON1 || virtualKey == VK_XBUTTON2) {
        down = pointerButtonDown(virtualKey == VK_XBUTTON1 ? 8 : 9);
    } else {
        // A generic modifier is down while its left or its right key is.
        std::array<KeyCode, 2> keycodes{};
        switch (virtualKey) {
        case VK_SHIFT:
            keycodes = {m_layouts.keycodeOfVirtualKey(VK_LSHIFT),
                        m_layouts.keycodeOfVirtualKey(VK_RSHIFT)};
            break;
        case VK_CONTROL:
            keycodes = {m_layouts.keycodeOfVirtualKey(VK_LCONTROL),
                        m_layouts.keycodeOfVirtualKey(VK_RCONTROL)};
            break;
        case VK_MENU:
            keycodes = {m_layouts.keycodeOfVirtualKey(VK_LMENU),
                        m_layouts.keycodeOfVirtualKey(VK_RMENU)};
            break;
        default:
            keycodes = {m_layouts.keycodeOfVirtualKey(virtualKey), 0};
            break;
        }
        char keys[32] = {};
        XQueryKeymap(m_display, keys);
        for (const KeyCode keycode : keycodes) {
            down = down || (keycode != 0 && (keys[keycode / 8] & (1 << (keycode % 8))));
        }
    }
    bool toggled = false;
    const int indicator = virtualKey == VK_CAPITAL   ? 0
                          : virtualKey == VK_NUMLOCK ? 1
                          : virtualKey == VK_SCROLL  ? 2
                                                     : -1;
    if (withToggle && indicator >= 0 &&
        m_lockIndicators[static_cast<std::size_t>(indicator)] != None) {
        Bool on = False;
        XkbGetNamedIndicator(m_display, m_lockIndicators[static_cast<std::size_t>(indicator)],
                             nullptr, &on, nullptr, nullptr);
        toggled = on;
    }
    return static_cast<SHORT>((down ? 0x8000 : 0) | (toggled ? 1 : 0));
}

bool X11KeyState::pointerButtonDown(int button)
{
    if (m_pointer == 0)
        return false;
    Window rootReturn = 0, child = 0;
    double rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    XIButtonState buttons{};
    XIModifierState modifiers{};
    XIGroupState group{};
    if (!XIQueryPointer(m_display, m_pointer, m_root, &rootReturn, &child, &rootX, &rootY, &windowX,
                        &windowY, &buttons, &modifiers, &group))
        return false;
    const bool down = button / 8 < buttons.mask_len && XIMaskIsSet(buttons.mask, button);
    XFree(buttons.mask);
    return down;
}

} // namespace platform
