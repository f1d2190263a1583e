#pragma once
#include <Qt>

// What a key pressed in the edit field does. KeyCode is the key's code (capital letters 65..90,
// F9 = 120); Shift is the modifier mask 1 Shift, 2 Ctrl, 4 Alt.
enum class KeyAction { None, Save, Quote, Link, MarkAll, List, Bold, Italic, JumpToEnd, Format };

// The action of the key-table entry for the key whose modifiers are all held; None for a key
// without one. Other modifiers held as well do not matter (Ctrl+Alt+Q quotes, Shift+F9 tidies).
KeyAction EditKeyAction(int KeyCode, int Shift);

int keyCodeFromQt(int qtKey);
int shiftFromQt(Qt::KeyboardModifiers modifiers);
