#pragma once
#include "text/TextDiff.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <initializer_list>

struct FormatResult {
    QString text;
    bool failed = false; // out of memory: the text has the changes made so far
};

// Removes the blank lines before every "[QUOTE]" and after every "[/QUOTE]", leaving one
// CR LF in each place. Linear in the text's length. A failure is for the window to report
// ("Fehler in strFormat").
FormatResult strFormat(const QString& strText);

namespace quotespacing {

// How a text marks its line breaks: CR LF in the buffer's text, U+2029 in the edit field's own
// text. Either way a break counts as two characters where positions are compared with 4.
enum class Breaks { CrLf, Paragraph };

struct Tidying {
    QList<TextChange> deletions; // ascending, not overlapping, nothing inserted
    bool failed = false;         // out of memory: the deletions of the passes that finished
};

// The deletions that tidy `text` as strFormat does, so the edit field can apply them to its
// own text without a CR LF copy, a second copy and a comparison.
Tidying tidy(QStringView text, Breaks breaks);

// The two passes. Each looks at the original text: the first leaves one break of every run it
// shortens, which is what the second would leave of the same run, so the second pass on the
// first one's result deletes the same characters. They may throw std::bad_alloc.
QList<TextChange> tidyBeforeOpeningTags(QStringView text, Breaks breaks);
QList<TextChange> tidyAfterClosingTags(QStringView text, Breaks breaks);

// Runs the passes in order and joins their deletions; a pass that throws ends the run with the
// deletions so far.
using Pass = QList<TextChange> (*)(QStringView, Breaks);
Tidying runPasses(QStringView text, Breaks breaks, std::initializer_list<Pass> passes);

} // namespace quotespacing
