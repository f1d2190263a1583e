#pragma once
#include <QByteArray>
#include <QString>

// Text files and settings files as the program reads and writes them.
namespace textcodec {

// UTF-8 where the bytes are valid UTF-8, otherwise Windows-1252, so files from the Windows
// program keep their umlauts. A character cut off at the end makes the bytes Windows-1252.
QString decodeText(const QByteArray& bytes);

// The exact inverse of the Windows-1252 reading; false when the text has a character that
// Windows-1252 lacks.
bool encodeWindows1252(const QString& text, QByteArray* out);

} // namespace textcodec
