#pragma once
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

class QWidget;

// Modal message and input boxes. Tests switch on the seam to queue answers and record messages
// instead of showing real dialogs.
namespace boxes {

enum class Icon { None, Critical };

// The program's title, the caption of its message boxes.
QString appTitle();

// A modal box with the text, only an OK button and the icon; returns when it is closed.
void MsgBox(const QString& text, Icon icon = Icon::None, const QString& title = appTitle());

// A modal question with "Ja" and "Nein" ("Nein" preselected); true for "Ja".
bool AskYesNo(const QString& text, const QString& title = appTitle());

// A modal box with the prompt, an empty one-line field, OK and Cancel. Cancel gives "".
QString InputBox(const QString& prompt, const QString& title);

// The colour chooser's result: an RGB value with red in the lowest byte.
struct ColorChoice {
    qint32 lngColor = 0;
    bool blnCancelled = true;
};

// The colour chooser over the owner, black preselected, every custom colour near-white.
ColorChoice ChooseColorDlg(QWidget* owner);

// The program is ending on a signal or with the session: every open modal window is closed
// (its caller goes on as after Cancel), and from now on a message box prints its text on
// stderr instead of waiting for a user who may be gone.
void closeForEnd();

struct Seam {
    bool active = false;
    std::deque<QString> inputAnswers;         // consumed by InputBox; "" when empty
    std::deque<std::optional<qint32>> colors; // consumed by ChooseColorDlg; nullopt cancels
    std::deque<bool> yesNoAnswers;            // consumed by AskYesNo; "Nein" when empty
    QStringList inputPrompts;                 // "title|prompt" of each InputBox call
    QStringList messages; // "title|icon|text" of each MsgBox call, icon 0 or 16; "title|?|text"
                          // of each AskYesNo call
    void reset() { *this = Seam{}; }
};
Seam& seam();

} // namespace boxes
