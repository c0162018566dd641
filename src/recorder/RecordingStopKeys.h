#pragma once

#include "RecordedEvent.h"

#include <QList>

// The combination that stops a recording (the deactivation hotkey: MOD_* bits and a virtual
// key). Its keys are still held when the stop arrives, so their presses are the last things
// heard; they are not the user's recording and are taken off its end.
class RecordingStopKeys
{
public:
    RecordingStopKeys() = default;
    RecordingStopKeys(unsigned int modifiers, int virtualKey)
        : m_modifiers(modifiers), m_virtualKey(virtualKey)
    {}

    // Whether a key (a generic or a sided virtual key) belongs to the combination.
    bool contains(int virtualKey) const;
    // Takes off the combination's keys that were pressed and not released since, with the
    // events after the first of them that are keys of the combination too.
    void stripHeldKeys(QList<RecordedEvent>& events) const;

private:
    unsigned int m_modifiers = 0;
    int m_virtualKey = 0;
};
