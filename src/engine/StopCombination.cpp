#include "StopCombination.h"

#include "hotkeys/KeyMapping.h"
#include "platform/Platform.h"

namespace {

bool isDown(platform::Platform& os, int virtualKey)
{
    return os.getAsyncKeyState(virtualKey) & 0x8000;
}

} // namespace

StopCombination::StopCombination()
{
    const QKeySequence defaultCombination(Qt::ALT | Qt::Key_X);
    m_sequence = defaultCombination;
    m_chords = {{MOD_ALT, 'X'}};
}

StopCombination& StopCombination::instance()
{
    static StopCombination combination;
    return combination;
}

void StopCombination::setKeySequence(const QKeySequence& sequence)
{
    StopCombination& self = instance();
    self.m_sequence = sequence;
    self.m_chords.clear();
    for (int chord = 0; chord < sequence.count(); ++chord) {
        // The chord as the hotkey registers it with the system.
        const QString text = QKeySequence(sequence[chord]).toString(QKeySequence::NativeText);
        const int virtualKey = KeyMapping::virtualKeyOfChord(text, KeyMapping::keyNameTable());
        if (virtualKey != 0)
            self.m_chords.push_back({KeyMapping::modifiersOfChord(text), virtualKey});
    }
}

QKeySequence StopCombination::keySequence()
{
    return instance().m_sequence;
}

bool StopCombination::isHeld()
{
    platform::Platform& os = platform::Platform::current();
    for (const Chord& chord : instance().m_chords) {
        // The key first: while it is up, which is nearly always, one look is enough.
        if (!isDown(os, chord.virtualKey))
            continue;
        const bool win = isDown(os, VK_LWIN) || isDown(os, VK_RWIN);
        if (isDown(os, VK_MENU) == bool(chord.modifiers & MOD_ALT) &&
            isDown(os, VK_CONTROL) == bool(chord.modifiers & MOD_CONTROL) &&
            isDown(os, VK_SHIFT) == bool(chord.modifiers & MOD_SHIFT) &&
            win == bool(chord.modifiers & MOD_WIN))
            return true;
    }
    return false;
}
