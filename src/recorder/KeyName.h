#pragma once

#include <QString>

// The name of a key for a recorded script's comments, from its virtual key: the names the
// hotkey texts use ("Esc", "PgDown", "F5"), letters and digits as themselves, and for the keys
// a hotkey text has no word for (the modifiers of each side, the locks, the keypad,
// punctuation) a name of their own, punctuation as it reads on a US keyboard. Empty for a
// key without a name.
class KeyName
{
public:
    static QString of(int virtualKey);
};
