#pragma once
#include <QPoint>

class QMenu;
class TextField;
class WritingAids;

// The writing aids' part of the edit field's right-click menu.
namespace writingaidsmenu {

// For a misspelt word at `viewportPos`: its suggestions (they come when the engine has them;
// the menu does not wait), "Zum Wörterbuch hinzufügen" and "Ignorieren" on top. The switches
// and the language at the end.
void extend(WritingAids& aids, TextField* field, QMenu* menu, const QPoint& viewportPos);

} // namespace writingaidsmenu
