#include "text/KeyDispatch.h"

namespace {
constexpr int kCtrl = 2;
constexpr int kF9 = 120;

// One entry a key: the action does not depend on the order of KeyAction's values.
struct KeyBinding {
    int keyCode;
    int modifiers; // all of them must be held
    KeyAction action;
};
constexpr KeyBinding kKeyTable[] = {
    {'S', kCtrl, KeyAction::Save},   {'Q', kCtrl, KeyAction::Quote},
    {'U', kCtrl, KeyAction::Link},   {'A', kCtrl, KeyAction::MarkAll},
    {'L', kCtrl, KeyAction::List},   {'F', kCtrl, KeyAction::Bold},
    {'K', kCtrl, KeyAction::Italic}, {'E', kCtrl, KeyAction::JumpToEnd},
    {'B', kCtrl, KeyAction::Bold},   {kF9, 0, KeyAction::Format},
};
} // namespace

KeyAction EditKeyAction(int KeyCode, int Shift) {
    for (const KeyBinding& binding : kKeyTable) {
        if (binding.keyCode == KeyCode && (Shift & binding.modifiers) == binding.modifiers)
            return binding.action;
    }
    return KeyAction::None;
}

int keyCodeFromQt(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey; // Qt's letter codes are the capital letters' codes
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    return 0;
}

int shiftFromQt(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}
