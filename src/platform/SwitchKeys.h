// The switch keys: a Qt key event mapped to the Windows virtual-key code the board uses, and
// whether that code is one of the switch keys.
#pragma once

#include <Qt>

class QKeyEvent;

namespace switchkeys {
// The virtual-key code of a key (0 when the key has none of interest here). Keypad keys are
// told apart from the main keys by the keypad modifier.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
int virtualKeyCode(const QKeyEvent& event);
bool isSwitchKey(int virtualKey);
} // namespace switchkeys
