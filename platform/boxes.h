#pragma once
#include <QString>
#include <QStringList>

#include <deque>

// Modal message and input boxes. Tests switch on the seam to queue answers and record messages
// instead of showing real dialogs.
namespace boxes {

enum class Icon { None, Critical };

// The program's title, the caption of its message boxes.
QString appTitle();

// A modal box with the text, only an OK button and the icon; returns when it is closed.
void MsgBox(const QString& text, Icon icon = Icon::None, const QString& title = appTitle());

// A modal box with the prompt, an empty one-line field, OK and Cancel. Cancel gives "".
QString InputBox(const QString& prompt, const QString& title);

struct Seam {
    bool active = false;
    std::deque<QString> inputAnswers; // consumed by InputBox; "" when empty
    QStringList inputPrompts;         // "title|prompt" of each InputBox call
    QStringList messages;             // "title|icon|text" of each MsgBox call, icon 0 or 16
    void reset() { *this = Seam{}; }
};
Seam& seam();

} // namespace boxes
