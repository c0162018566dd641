#pragma once

#include "platform/WinApi.h"

#include <QKeySequence>

#include <vector>

// The key combination that stops a runaway script when the user holds it: the deactivation
// hotkey's. The scenario list page hands it over whenever it applies that hotkey; until then
// it is Alt+X, the hotkey's default. It is read from the platform's key state, not from the
// event loop, which a runaway script blocks. Touched on the GUI thread only.
class StopCombination
{
public:
    // The combination from now on: each chord of the sequence stops a script; an empty
    // sequence means none does. The page calls it with the deactivation shortcut's sequence
    // every time it applies the hotkey (at start-up too).
    static void setKeySequence(const QKeySequence& sequence);
    static QKeySequence keySequence();

    // Whether one of the chords is held now: its key down with exactly its modifiers.
    static bool isHeld();

private:
    struct Chord
    {
        UINT modifiers; // MOD_* bits
        int virtualKey;
    };

    static StopCombination& instance();
    StopCombination();

    QKeySequence m_sequence;
    std::vector<Chord> m_chords;
};
