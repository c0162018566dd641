#pragma once

#include "RecordedEvent.h"

#include <QList>

// The program's own hotkeys, taken out of a recording. They are off while recording, so a
// hotkey pressed meanwhile is recorded as keys, and a playback would press it and start what
// it starts. Every key press and release that forms one of them goes: the key's own (its
// repeats included), and those of the modifiers held for it, unless a modifier was held for
// something else recorded too (another key, a mouse button, the wheel).
class RecordingHotkeys
{
public:
    // A hotkey: its MOD_* bits and virtual key.
    struct Combination
    {
        unsigned int modifiers = 0;
        int virtualKey = 0;
    };

    RecordingHotkeys() = default;
    explicit RecordingHotkeys(QList<Combination> combinations)
        : m_combinations(std::move(combinations))
    {}

    void strip(QList<RecordedEvent>& events) const;

private:
    bool isHotkey(unsigned int modifiers, int virtualKey) const;

    QList<Combination> m_combinations;
};
