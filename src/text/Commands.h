#pragma once
#include <QString>

class EditBuffer;

// The five formatting commands on the edit buffer. What they need of the clipboard and of the
// user comes in as arguments; the window asks and reports.
namespace commands {

// The clipboard's text is used only with AutoQuote and nothing selected.
void quote(EditBuffer& buffer, bool autoQuote, const QString& clipboardText);
void bold(EditBuffer& buffer);
void italic(EditBuffer& buffer);
void link(EditBuffer& buffer, const QString& clipboardText);

// What the list command did with the answer to "Wieviele Listenpunkte?".
enum class ListResult {
    Nothing,  // no count (0, empty, Cancel, not a number): nothing changed
    TooMany,  // above 255: nothing changed, the user is to be told "Zu viele Listenpunkte"
    Inserted, // the list frame stands in place of the selection, the caret at the end
};
ListResult list(EditBuffer& buffer, const QString& answer);

// The link target taken from the clipboard text: the text itself when it starts with "http://"
// or "ftp://", "http://" + the text when it starts with "www.", else "".
QString linkTarget(const QString& clipboardText);

// The item count read from an answer of the list prompt: its first three characters as a
// number, rounded half to even.
double listCount(const QString& answer);

// CR LF, [LIST], n items [*], [/LIST], each on its own line and ending with CR LF.
QString buildList(int n);

} // namespace commands
