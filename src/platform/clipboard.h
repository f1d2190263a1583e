#pragma once
#include <QString>

namespace clipboard {

// The clipboard's plain text ("" when it holds none), with every line break as CR LF like the
// rest of the edit buffer: texts copied on Linux carry bare LF, and caret arithmetic on the
// inserted text must count each break as the buffer does.
QString ClipboardText();

// The clipboard's HTML where it holds some, and the address of the page it came from where
// the copying program gives it (empty otherwise).
struct Html {
    bool present = false;
    QString html;
    QString sourceUrl;
};
Html ClipboardHtml();

// Puts plain text on the clipboard, its line breaks as the desktop has them (LF).
void setClipboardText(const QString& text);

// Puts HTML on the clipboard as text/html and, the same markup, as plain text.
void setClipboardHtml(const QString& html);

} // namespace clipboard
