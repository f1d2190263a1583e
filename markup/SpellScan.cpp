#include "markup/SpellScan.h"

namespace spellscan {

QList<Word> checkableWords(QStringView) {
    return {}; // placeholder until the scanner lands
}

} // namespace spellscan
