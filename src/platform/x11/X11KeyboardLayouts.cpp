#include "X11KeyboardLayouts.h"

#include "X11Keys.h"

#include <algorithm>
#include <cstdint>

namespace platform {

namespace {

// The keyboard layout handle of an XKB group: group g is kFirstLayout + g.
constexpr std::uintptr_t kFirstLayout = 0xF0000000;

HKL layoutOfGroup(int group)
{
    return reinterpret_cast<HKL>(kFirstLayout + static_cast<std::uintptr_t>(group));
}

} // namespace

void X11KeyboardLayouts::refresh()
{
    const unsigned int changes = m_keymapChanges.load();
    if (changes != m_keymapRead && m_keymap.load(m_display))
        m_keymapRead = changes;
}

KeyCode X11KeyboardLayouts::keycodeOfVirtualKey(int virtualKey)
{
    refresh();
    if (const KeySym keysym = X11Keys::keysymOfVirtualKey(virtualKey)) {
        if (const KeyCode keycode = m_keymap.keycodeOf(keysym))
            return keycode;
    }
    // A key the layouts have no symbol for (a Latin letter with only a Cyrillic layout):
    // the key at its place on a US keyboard.
    const int inputCode = X11Keys::inputCodeOfVirtualKey(virtualKey);
    return inputCode > 0 ? static_cast<KeyCode>(inputCode + X11Keys::kKeycodeOffset) : 0;
}

int X11KeyboardLayouts::getKeyboardLayoutList(int count, HKL* layouts)
{
    refresh();
    const int groups = m_keymap.groupCount();
    if (count <= 0 || layouts == nullptr)
        return groups;
    const int copied = std::min(count, groups);
    for (int group = 0; group < copied; ++group)
        layouts[group] = layoutOfGroup(group);
    return copied;
}

HKL X11KeyboardLayouts::getKeyboardLayout()
{
    // One keyboard for the whole display: the group it types with now.
    XkbStateRec state{};
    if (XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return nullptr;
    return layoutOfGroup(state.group);
}

SHORT X11KeyboardLayouts::vkKeyScanEx(WCHAR character, HKL layout)
{
    refresh();
    const std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(layout);
    if (handle < kFirstLayout ||
        handle >= kFirstLayout + static_cast<std::uintptr_t>(m_keymap.groupCount()))
        return -1;
    return m_keymap.scanCharacter(character, static_cast<int>(handle - kFirstLayout));
}

bool X11KeyboardLayouts::listen(Display* listener)
{
    int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(listener, &opcode, &m_eventBase, &error, &major, &minor))
        return false;
    const unsigned int keymapNews = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(listener, XkbUseCoreKbd, keymapNews, keymapNews);
    return true;
}

bool X11KeyboardLayouts::handleEvent(XEvent& event)
{
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
    } else if (event.type == m_eventBase) {
        if (reinterpret_cast<const XkbAnyEvent&>(event).xkb_type == XkbNewKeyboardNotify)
            ++m_keyboardReplacements;
    } else {
        return false;
    }
    ++m_keymapChanges;
    return true;
}

} // namespace platform
