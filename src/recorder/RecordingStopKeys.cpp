#include "RecordingStopKeys.h"

#include "hotkeys/KeyMapping.h"

#include <QSet>

bool RecordingStopKeys::contains(int virtualKey) const
{
    return virtualKey != 0 &&
           (virtualKey == m_virtualKey || (m_modifiers & KeyMapping::modifierOfKey(virtualKey)));
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
