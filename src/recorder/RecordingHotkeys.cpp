#include "RecordingHotkeys.h"

#include "hotkeys/KeyMapping.h"

#include <QHash>
#include <QSet>

namespace {

bool isKey(const RecordedEvent& event)
{
    return event.kind == RecordedEvent::Kind::PressKey ||
           event.kind == RecordedEvent::Kind::ReleaseKey;
}

} // namespace

bool RecordingHotkeys::isHotkey(unsigned int modifiers, int virtualKey) const
{
    for (const Combination& combination : m_combinations) {
        if (combination.virtualKey == virtualKey &&
            (combination.modifiers & ~unsigned(MOD_NOREPEAT)) == modifiers)
            return true;
    }
    return false;
}

void RecordingHotkeys::strip(QList<RecordedEvent>& events) const
{
    if (m_combinations.isEmpty())
        return;
    // One hold of a modifier key: its presses (repeats included), and what it was held for.
    struct Hold
    {
        QList<qsizetype> presses;
        bool forHotkey = false;
        bool forOther = false;
    };
    QHash<int, Hold> modifiers; // held modifier keys, by virtual key
    QSet<int> hotkeyKeys;       // held keys pressed as a hotkey
    QSet<int> otherKeys;        // held keys pressed for themselves
    QList<bool> dropped(events.size(), false);
    const auto markHolds = [&modifiers](bool hotkey) {
        for (Hold& hold : modifiers)
            (hotkey ? hold.forHotkey : hold.forOther) = true;
    };
    const auto dropHold = [&dropped](const Hold& hold) {
        if (hold.forHotkey && !hold.forOther) {
            for (const qsizetype press : hold.presses)
                dropped[press] = true;
        }
        return hold.forHotkey && !hold.forOther;
    };

    for (qsizetype i = 0; i < events.size(); ++i) {
        const RecordedEvent& event = events[i];
        if (!isKey(event)) {
            if (event.kind == RecordedEvent::Kind::PressButton ||
                event.kind == RecordedEvent::Kind::Wheel)
                markHolds(false);
            continue;
        }
        const int key = event.detail;
        const bool modifier = KeyMapping::modifierOfKey(key) != 0;
        if (event.kind == RecordedEvent::Kind::ReleaseKey) {
            if (modifier)
                dropped[i] = dropHold(modifiers.take(key));
            else if (hotkeyKeys.remove(key))
                dropped[i] = true;
            else
                otherKeys.remove(key);
            continue;
        }
        if (modifier) {
            modifiers[key].presses.append(i);
        } else if (hotkeyKeys.contains(key)) {
            dropped[i] = true; // a repeat
        } else if (!otherKeys.contains(key)) {
            unsigned int held = 0;
            for (auto hold = modifiers.cbegin(); hold != modifiers.cend(); ++hold)
                held |= KeyMapping::modifierOfKey(hold.key());
            const bool hotkey = isHotkey(held, key);
            dropped[i] = hotkey;
            (hotkey ? hotkeyKeys : otherKeys).insert(key);
            markHolds(hotkey);
        }
    }
    // Modifiers still held as the recording stopped.
    for (const Hold& hold : std::as_const(modifiers))
        dropHold(hold);

    qsizetype kept = 0;
    for (qsizetype i = 0; i < events.size(); ++i) {
        if (!dropped[i])
            events[kept++] = events[i];
    }
    events.resize(kept);
}
