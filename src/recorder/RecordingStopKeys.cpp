#include "RecordingStopKeys.h"

#include "platform/WinApi.h"

#include <QSet>

bool RecordingStopKeys::contains(int virtualKey) const
{
    if (virtualKey == 0)
        return false;
    if (virtualKey == m_virtualKey)
        return true;
    const auto modifier = [virtualKey](int generic, int left, int right) {
        return virtualKey == generic || virtualKey == left || virtualKey == right;
    };
    return ((m_modifiers & MOD_CONTROL) && modifier(VK_CONTROL, VK_LCONTROL, VK_RCONTROL)) ||
           ((m_modifiers & MOD_ALT) && modifier(VK_MENU, VK_LMENU, VK_RMENU)) ||
           ((m_modifiers & MOD_SHIFT) && modifier(VK_SHIFT, VK_LSHIFT, VK_RSHIFT)) ||
           ((m_modifiers & MOD_WIN) && modifier(VK_LWIN, VK_LWIN, VK_RWIN));
}

void RecordingStopKeys::stripHeldKeys(QList<RecordedEvent>& events) const
{
    // Walking back from the end: a key of the combination whose last event is a press is
    // still held; the presses of held keys (repeats included) go, and with them any of the
    // combination's events that came after the earliest of them.
    QSet<int> released;
    qsizetype firstHeld = events.size();
    for (qsizetype i = events.size() - 1; i >= 0; --i) {
        const RecordedEvent& event = events[i];
        const bool key = event.kind == RecordedEvent::Kind::PressKey ||
                         event.kind == RecordedEvent::Kind::ReleaseKey;
        if (!key || !contains(event.detail))
            continue;
        if (event.kind == RecordedEvent::Kind::ReleaseKey)
            released.insert(event.detail);
        else if (!released.contains(event.detail))
            firstHeld = i;
    }
    for (qsizetype i = events.size() - 1; i >= firstHeld; --i) {
        const RecordedEvent& event = events[i];
        if ((event.kind == RecordedEvent::Kind::PressKey ||
             event.kind == RecordedEvent::Kind::ReleaseKey) &&
            contains(event.detail))
            events.removeAt(i);
    }
}
