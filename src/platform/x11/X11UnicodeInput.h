#pragma once

#include <X11/Xlib.h>

#include <map>

namespace platform {

class X11KeyboardLayouts;
class X11MouseHook;

// The characters of KEYEVENTF_UNICODE records, typed through XTEST: by the key that types
// the character in the keyboard's state now, or with Shift added, else by a keycode without
// symbols of its own loaned to the character. A loaned keycode keeps the character after
// its release: the other clients read the new keyboard map when they get round to it, and
// by then it must still be the one the press was made with.
class X11UnicodeInput
{
public:
    // display is the callers' connection; every key sent is first noted for the hooks.
    X11UnicodeInput(Display* display, X11KeyboardLayouts& layouts, X11MouseHook& hooks);
    // The loaned keycodes go back to carrying nothing, one still held down released first.
    ~X11UnicodeInput();
    X11UnicodeInput(const X11UnicodeInput&) = delete;
    X11UnicodeInput& operator=(const X11UnicodeInput&) = delete;

    // With the callers' connection's lock held: presses or releases the key of a character;
    // false when no key types it (a release of a character none holds).
    bool type(char16_t character, bool press);

private:
    struct LoanedKey
    {
        char16_t character;
        unsigned long long lastUse;
    };

    KeyCode loanKey(char16_t character);
    void sendKey(KeyCode keycode, bool press);

    Display* m_display;
    X11KeyboardLayouts& m_layouts;
    X11MouseHook& m_hooks;
    std::map<char16_t, KeyCode> m_typed;       // the keys held down for characters
    std::map<KeyCode, LoanedKey> m_loanedKeys; // spare keycodes carrying characters
    unsigned long long m_loanCount = 0;
    unsigned int m_keyboardsSeen = 0;
};

} // namespace platform
