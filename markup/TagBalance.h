#pragma once
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Bracket tags as forums read them: which are known, where each one stands, and which are left
// open, close nothing or close across another one. Pure text logic, safe on any thread.
namespace tagbalance {

// A tag of a known name: "[B]", "[/b]", "[QUOTE=Max]", "[URL=http://x.de]", "[*]", "[LIST=1]".
// Names compare without regard to case; `name` is upper case. A tag never spans a line break
// (LF, CR, U+2028, U+2029).
struct Tag {
    qsizetype length = 0; // from '[' to ']' inclusive
    QString name;         // "B", "QUOTE", "*", ...
    bool closing = false; // "[/B]"
    bool hasParameter = false;
};

// The tag that starts at `pos` (text[pos] == '['), or nothing: not a tag, or an unknown name
// such as "[sic]".
std::optional<Tag> tagAt(QStringView text, qsizetype pos);

enum class Problem {
    Unclosed,    // "[B] wird nicht geschlossen"
    Unopened,    // "[/I] schließt kein offenes [I]"
    Crossed,     // "[/B] schließt [B], aber [I] ist noch offen"
    OutsideList, // "[*] steht außerhalb einer Liste"
};

struct Mark {
    qsizetype start = 0; // the tag's '['
    qsizetype length = 0;
    Problem problem = Problem::Unclosed;
    QString message; // German, for the tool tip
};

struct Range {
    qsizetype start = 0;
    qsizetype end = 0; // exclusive
};

struct Result {
    QList<Mark> marks;   // sorted by start
    QList<Range> quotes; // each outermost [QUOTE]…[/QUOTE], tags included; an unclosed one runs
                         // to the end of the text; sorted, not overlapping
};

// One linear pass over the whole text.
Result check(QStringView text);

} // namespace tagbalance
