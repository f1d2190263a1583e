#pragma once
#include <QString>

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
// The two passes of strFormat; they may throw std::bad_alloc.
QString tidyBeforeOpeningTags(const QString& text);
QString tidyAfterClosingTags(const QString& text);

// Runs the passes in order; a pass that throws ends the run with the result so far.
using Pass = QString (*)(const QString&);
FormatResult runPasses(const QString& text, std::initializer_list<Pass> passes);
} // namespace quotespacing
