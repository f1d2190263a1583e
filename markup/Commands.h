#pragma once
#include <QString>

class EditBuffer;

// The five formatting commands on the edit buffer. The clipboard and the boxes are reached
// through the platform layer.
namespace commands {

void quote(EditBuffer& buffer, bool autoQuote);
void bold(EditBuffer& buffer);
void italic(EditBuffer& buffer);
void link(EditBuffer& buffer);
void list(EditBuffer& buffer);

// The link target taken from the clipboard text: the text itself when it starts with "http://"
// or "ftp://", "http://" + the text when it starts with "www.", else "".
QString linkTarget(const QString& clipboardText);

// The item count read from an answer of the list prompt: its first three characters as a
// number, rounded half to even.
double listCount(const QString& answer);

// CR LF, [LIST], n items [*], [/LIST], each on its own line and ending with CR LF.
QString buildList(int n);

} // namespace commands
