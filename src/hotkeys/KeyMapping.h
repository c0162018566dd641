#pragma once

#include "platform/WinApi.h"

#include <QHash>
#include <QString>

class QKeySequence;

// How one chord of a key sequence, in Qt's native text ("Ctrl+Alt+F1", "Ctrl+Num+5",
// "Ctrl++"), becomes a Windows hotkey: RegisterHotKey's modifier bits and virtual key.
namespace KeyMapping {

// The names of keys longer than one character, as the native text writes them, and their
// virtual keys.
const QHash<QString, int>& keyNameTable();

// The MOD_* bits of the chord's modifier words; MOD_NOREPEAT is never set, so a held
// hotkey repeats.
UINT modifiersOfChord(const QString& chord);

// The MOD_* bit of a modifier key, generic or sided (VK_CONTROL, VK_LCONTROL, VK_RCONTROL
// give MOD_CONTROL; VK_LWIN and VK_RWIN give MOD_WIN); 0 for any other key.
UINT modifierOfKey(int virtualKey);

// The virtual key of the chord's key: keypad keys, key names looked up in keyNames (0 for a
// name that is not there), and characters through the installed keyboard layouts.
int virtualKeyOfChord(const QString& chord, const QHash<QString, int>& keyNames);

// The sequence as the system tells combinations apart: each chord's modifier bits and
// virtual key. Texts the system takes for one combination (Ctrl+Return and Ctrl+Enter) give
// one identity; a chord whose key has no virtual key is identified by its text.
QString systemIdentity(const QKeySequence& sequence);

} // namespace KeyMapping
