#include "X11Keymap.h"

#include "X11Keys.h"

#include <algorithm>

namespace platform {

namespace {

// Levels that VkKeyScanEx can express: plain, Shift, AltGr and Shift+AltGr.
constexpr int kScannedLevels = 4;

} // namespace

X11Keymap::~X11Keymap()
{
    if (m_map)
        XkbFreeKeyboard(m_map, 0, True);
}

bool X11Keymap::load(Display* display)
{
    XkbDescPtr map = XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    if (!map)
        return false;
    if (m_map)
        XkbFreeKeyboard(m_map, 0, True);
    m_map = map;
    return true;
}

int X11Keymap::groupCount() const
{
    int groups = 1;
    if (m_map) {
        for (int key = m_map->min_key_code; key <= m_map->max_key_code; ++key)
            groups = std::max<int>(groups, XkbKeyNumGroups(m_map, key));
    }
    return groups;
}

KeyCode X11Keymap::keycodeOf(KeySym keysym) const
{
    if (!m_map || keysym == NoSymbol)
        return 0;
    for (int key = m_map->min_key_code; key <= m_map->max_key_code; ++key) {
        if (XkbKeyNumGroups(m_map, key) > 0 && XkbKeySymEntry(m_map, key, 0, 0) == keysym)
            return static_cast<KeyCode>(key);
    }
    for (int key = m_map->min_key_code; key <= m_map->max_key_code; ++key) {
        for (int group = 0; group < XkbKeyNumGroups(m_map, key); ++group) {
            for (int level = 0; level < XkbKeyGroupWidth(m_map, key, group); ++level) {
                if (XkbKeySymEntry(m_map, key, level, group) == keysym)
                    return static_cast<KeyCode>(key);
            }
        }
    }
    return 0;
}

KeyCode X11Keymap::keyTyping(char16_t character, unsigned int state) const
{
    if (!m_map || character == 0)
        return 0;
    for (int key = m_map->min_key_code; key <= m_map->max_key_code; ++key) {
        unsigned int consumed = 0;
        KeySym keysym = NoSymbol;
        if (XkbTranslateKeyCode(m_map, static_cast<KeyCode>(key), state, &consumed, &keysym) &&
            keysym != NoSymbol && X11Keys::characterOfKeysym(keysym) == character)
            return static_cast<KeyCode>(key);
    }
    return 0;
}

SHORT X11Keymap::scanCharacter(char16_t character, int group) const
{
    if (!m_map || character == 0 || group < 0)
        return -1;
    // Plain keys before shifted ones, as Windows finds them.
    for (int level = 0; level < kScannedLevels; ++level) {
        for (int key = m_map->min_key_code; key <= m_map->max_key_code; ++key) {
            const int groups = XkbKeyNumGroups(m_map, key);
            if (groups == 0)
                continue;
            // A key with fewer groups wraps the group number around, as XKB does.
            const int keyGroup = group % groups;
            if (level >= XkbKeyGroupWidth(m_map, key, keyGroup) ||
                X11Keys::characterOfKeysym(XkbKeySymEntry(m_map, key, level, keyGroup)) !=
                    character)
                continue;
            const int virtualKey = X11Keys::virtualKeyOfInputCode(key - X11Keys::kKeycodeOffset);
            if (virtualKey == 0)
                continue;
            const int shiftState = ((level & 1) ? 1 : 0) | (level >= 2 ? 6 : 0);
            return static_cast<SHORT>((shiftState << 8) | virtualKey);
        }
    }
    return -1;
}

std::vector<KeyCode> X11Keymap::spareKeycodes() const
{
    std::vector<KeyCode> spare;
    if (!m_map)
        return spare;
    for (int key = m_map->max_key_code; key >= m_map->min_key_code; --key) {
        if (XkbKeyNumSyms(m_map, key) == 0)
            spare.push_back(static_cast<KeyCode>(key));
    }
    return spare;
}

} // namespace platform
