#pragma once

class QMenu;

namespace mnemonics {

// Gives each item of the menu and of its submenus that has no mnemonic the first letter of its
// text not yet taken by another item, so that every item can be reached by a key. Items that
// have one keep it; Qt's German texts leave some of its own items without.
void addMissing(QMenu* menu);

} // namespace mnemonics
