#pragma once
#include <QString>

#include <functional>

// Removes the blank lines before every "[QUOTE]" and after every "[/QUOTE]", leaving one
// CR LF in each place. Linear in the text's length. On a failure (out of memory) it shows
// "Fehler in strFormat" and returns the text with the changes made so far.
QString strFormat(const QString& strText);

namespace quotespacing {
// The two passes, exposed for tests and benchmarks; they may throw std::bad_alloc.
QString tidyBeforeOpeningTags(const QString& text);
QString tidyAfterClosingTags(const QString& text);

// Test seam: called between the two passes; a test makes it throw to exercise the failure path.
extern std::function<void()> betweenPassesHook;
} // namespace quotespacing
