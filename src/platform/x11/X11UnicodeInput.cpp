#include "X11UnicodeInput.h"

#include "X11KeyboardLayouts.h"
#include "X11Keys.h"
#include "X11MouseHook.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <vector>

namespace platform {

X11UnicodeInput::X11UnicodeInput(Display* display, X11KeyboardLayouts& layouts,
                                 X11MouseHook& hooks)
    : m_display(display), m_layouts(layouts), m_hooks(hooks)
{}

X11UnicodeInput::~X11UnicodeInput()
{
    // Unless a new keymap has replaced them already.
    if (m_layouts.keyboardReplacements() != m_keyboardsSeen)
        return;
    KeySym nothing = NoSymbol;
    for (const auto& [character, keycode] : m_typed) {
        if (m_loanedKeys.contains(keycode))
            sendKey(keycode, false);
    }
    for (const auto& [keycode, loan] : m_loanedKeys)
        XChangeKeyboardMapping(m_display, keycode, 1, &nothing, 1);
    XSync(m_display, False);
}

bool X11UnicodeInput::type(char16_t character, bool press)
{
    if (const auto held = m_typed.find(character); held != m_typed.end()) {
        sendKey(held->second, press);
        if (!press)
            m_typed.erase(held);
        return true;
    }

    // A key that types the character in the keyboard's state now, or with Shift added.
    m_layouts.refresh();
    const X11Keymap& keymap = m_layouts.keymap();
    XkbStateRec state{};
    if (XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return false;
    const unsigned int keyState = XkbBuildCoreState(state.mods, state.group);
    KeyCode keycode = keymap.keyTyping(character, keyState);
    KeyCode shift = 0;
    if (keycode == 0 && !(state.mods & ShiftMask)) {
        shift = keymap.keycodeOf(XK_Shift_L);
        keycode = shift ? keymap.keyTyping(character, keyState | ShiftMask) : 0;
    }
    if (keycode == 0) {
        if (!press)
            return false; // no key of this backend holds the character
        keycode = loanKey(character);
        if (keycode == 0)
            return false;
    }
    // Shift is needed for the press only: the character is typed by then.
    if (press && shift)
        sendKey(shift, true);
    sendKey(keycode, press);
    if (press && shift)
        sendKey(shift, false);
    if (press)
        m_typed[character] = keycode;
    return true;
}

void X11UnicodeInput::sendKey(KeyCode keycode, bool press)
{
    m_hooks.noteSentKey(keycode, press);
    XTestFakeKeyEvent(m_display, keycode, press ? True : False, CurrentTime);
}

KeyCode X11UnicodeInput::loanKey(char16_t character)
{
    const KeySym keysym = X11Keys::keysymOfCharacter(character);
    if (keysym == NoSymbol)
        return 0;
    const unsigned int replacements = m_layouts.keyboardReplacements();
    if (replacements != m_keyboardsSeen) {
        m_loanedKeys.clear(); // the new keymap has none of them
        m_keyboardsSeen = replacements;
    }
    const auto carrying =
        std::find_if(m_loanedKeys.begin(), m_loanedKeys.end(),
                     [character](const auto& loan) { return loan.second.character == character; });
    if (carrying != m_loanedKeys.end()) {
        carrying->second.lastUse = ++m_loanCount;
        return carrying->first;
    }
    // A keycode without symbols, else the loaned one unused the longest that is not down.
    KeyCode keycode = 0;
    const std::vector<KeyCode> spare = m_layouts.keymap().spareKeycodes();
    const auto free = std::find_if(spare.begin(), spare.end(),
                                   [this](KeyCode key) { return !m_loanedKeys.contains(key); });
    if (free != spare.end()) {
        keycode = *free;
    } else {
        unsigned long long oldest = ~0ull;
        for (const auto& loaned : m_loanedKeys) {
            const KeyCode key = loaned.first;
            const bool down = std::any_of(m_typed.begin(), m_typed.end(),
                                          [key](const auto& held) { return held.second == key; });
            if (!down && loaned.second.lastUse < oldest) {
                oldest = loaned.second.lastUse;
                keycode = key;
            }
        }
    }
    if (keycode == 0)
        return 0;
    // The same symbol on both levels: a lone lower-case letter would get its capital as
    // the second level, and the key a type in which Caps Lock chooses it.
    KeySym symbols[2] = {keysym, keysym};
    XChangeKeyboardMapping(m_display, keycode, 2, symbols, 1);
    m_loanedKeys[keycode] = {character, ++m_loanCount};
    return keycode;
}

} // namespace platform
