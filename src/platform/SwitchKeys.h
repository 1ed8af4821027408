// The switch keys: a Qt key event mapped to the Windows virtual-key code the board uses, and
// whether that code is one of the switch keys.
#pragma once

#include <QString>
#include <Qt>

class QKeyEvent;

namespace switchkeys {
// The virtual-key code of a key (0 when the key has none of interest here). Keypad keys are
// told apart from the main keys by the keypad modifier.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
int virtualKeyCode(const QKeyEvent& event);
bool isSwitchKey(int virtualKey);
// Whether a carer may give this key to a switch of their own choosing: any key with a code here
// but Shift, Ctrl and Alt, which the window's shortcuts are made with.
bool canBeChosen(int virtualKey);
// The key's name as the carer reads it on the keyboard, in French; empty when it has none.
QString keyName(int virtualKey);
} // namespace switchkeys
