#pragma once

#include "../WinApi.h"

// The tables between Windows' key vocabulary and X's: virtual keys and keysyms, set-1 scan
// codes and the Linux input codes of physical keys (X keycodes are those plus 8), and
// characters and keysyms. Plain data, no connection to a server.
namespace platform::X11Keys {

// The X keycode of a Linux input code.
constexpr int kKeycodeOffset = 8;

// The keysym of a virtual key as the US layout places it (VK_OEM_1 is ';'), 0 for none.
unsigned long keysymOfVirtualKey(int virtualKey);
// The physical key of a virtual key on a US keyboard as a Linux input code, 0 for none.
int inputCodeOfVirtualKey(int virtualKey);
// The virtual key of a physical key (a Linux input code) on a US keyboard, 0 for none.
int virtualKeyOfInputCode(int inputCode);
// The Linux input code of a set-1 scan code; extended codes (0xE0 prefix) have the prefix
// in the high byte or the extended flag set. 0 for none.
int inputCodeOfScanCode(WORD scanCode, bool extended);
// The set-1 scan code of a physical key (a Linux input code), 0xE0 in the high byte for the
// extended keys; 0 for a key without one.
WORD scanCodeOfInputCode(int inputCode);

// The keysym that types a character: Latin-1 and Cyrillic as the legacy keysyms keyboard
// maps use, the control characters of typing as their keys, the rest as Unicode keysyms.
unsigned long keysymOfCharacter(char16_t character);
// The character a keysym types (UTF-16, basic plane), 0 for none.
char16_t characterOfKeysym(unsigned long keysym);

} // namespace platform::X11Keys
