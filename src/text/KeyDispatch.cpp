#include "text/KeyDispatch.h"

namespace {
constexpr int kCtrl = 2;
constexpr int kF9 = 120;
} // namespace

KeyAction EditKeyAction(int KeyCode, int Shift) {
    if (Shift & kCtrl) {
        switch (KeyCode) {
        case 'S':
            return KeyAction::Save;
        case 'Q':
            return KeyAction::Quote;
        case 'U':
            return KeyAction::Link;
        case 'A':
            return KeyAction::MarkAll;
        case 'L':
            return KeyAction::List;
        case 'F':
            return KeyAction::Bold;
        case 'K':
            return KeyAction::Italic;
        case 'E':
            return KeyAction::JumpToEnd;
        case 'B':
            return KeyAction::Bold;
        default:
            break;
        }
    }
    return KeyCode == kF9 ? KeyAction::Format : KeyAction::None;
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
