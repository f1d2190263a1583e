#pragma once
#include <QString>
#include <QStringList>

class EditBuffer;
namespace profile {
class Document;
}

namespace smilies {

// The codes of section "SMILIES": keys "Smiley001", "Smiley002", ... up to the first missing
// or empty one, each value without its first and last character. A value of one character has
// no code and is passed over.
QStringList load(const profile::Document& settings);

// The code framed by colons, with a blank added on each side where the neighbour is not one.
QString framed(const QString& code, bool blankBefore, bool blankAfter);

// Puts the framed code in place of the selection; the caret goes behind it.
void insert(EditBuffer& buffer, const QString& code);

} // namespace smilies
