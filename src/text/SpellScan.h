#pragma once
#include <QList>
#include <QStringView>

// The words of a post that a spell checker should see: not the tags and their parameters, not
// URLs, e-mail addresses, smiley codes between colons, numbers or words with digits.
namespace spellscan {

struct Word {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const Word&, const Word&) = default;
};

// The words of one line (a paragraph of the edit field, no line breaks inside). A word is a run
// of letters (umlauts, ß and other scripts included) with single hyphens or apostrophes between
// letters ("E-Mail-Adresse", "geht's"); words of one letter are left out.
QList<Word> checkableWords(QStringView line);

} // namespace spellscan
