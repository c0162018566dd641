#pragma once

#include "../WinApi.h"
#include "X11Keymap.h"

#include <atomic>

namespace platform {

// The keyboard layouts as Windows lists them, from the XKB groups of the server's keyboard
// map, and the keys of virtual keys in that map. The copy of the map is read through the
// callers' connection, again whenever the server announces a change (on the listening
// connection of the hotkeys). The layout handle of group g is kFirstLayout + g.
class X11KeyboardLayouts
{
public:
    // display is the callers' connection.
    explicit X11KeyboardLayouts(Display* display) : m_display(display) {}
    X11KeyboardLayouts(const X11KeyboardLayouts&) = delete;
    X11KeyboardLayouts& operator=(const X11KeyboardLayouts&) = delete;

    // With the callers' connection's lock held.
    // Reads the keyboard map again when the server has announced a change since.
    void refresh();
    // The copy of the keyboard map as last refreshed.
    const X11Keymap& keymap() const { return m_keymap; }
    // The key of a virtual key in the map, else at its place on a US keyboard; 0 for none.
    // Refreshes the map.
    KeyCode keycodeOfVirtualKey(int virtualKey);
    int getKeyboardLayoutList(int count, HKL* layouts);
    HKL getKeyboardLayout();
    SHORT vkKeyScanEx(WCHAR character, HKL layout);

    // On any thread: how many times a new keyboard has replaced the whole map (and with it
    // the symbols this backend gave to spare keycodes).
    unsigned int keyboardReplacements() const { return m_keyboardReplacements.load(); }

    // On the listening connection, before its reading thread starts: asks the server to
    // announce changes of the map; false when it has no XKB.
    bool listen(Display* listener);
    // On the listening thread: takes an event that announces a change; false for others.
    bool handleEvent(XEvent& event);

private:
    Display* m_display;
    X11Keymap m_keymap;
    unsigned int m_keymapRead = 0;
    int m_eventBase = -1;
    std::atomic<unsigned int> m_keymapChanges{1};
    std::atomic<unsigned int> m_keyboardReplacements{0};
};

} // namespace platform
