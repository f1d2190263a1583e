#pragma once
#include <QByteArray>
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

enum class Problem : quint8 {
    Unclosed,    // "[B] wird nicht geschlossen"
    Unopened,    // "[/I] schließt kein offenes [I]"
    Crossed,     // "[/B] schließt [B], aber [I] ist noch offen"
    OutsideList, // "[*] steht außerhalb einer Liste"
};

// Small, since a text may hold thousands: the tool tip is made from it when asked for.
struct Mark {
    qsizetype start = 0; // the tag's '['
    qint32 length = 0;
    Problem problem = Problem::Unclosed;
    quint8 name = 0;     // the tag's name, as an index for message()
    quint8 openName = 0; // Crossed: the tag still open
    bool closing = false;
    friend bool operator==(const Mark&, const Mark&) = default;
};

// German, for the tool tip.
QString message(const Mark& mark);

// A text with more tags out of balance gets marks for the first ones only.
constexpr qsizetype kMaxMarks = 5000;

struct Range {
    qsizetype start = 0;
    qsizetype end = 0; // exclusive
    friend bool operator==(const Range&, const Range&) = default;
};

struct Result {
    QList<Mark> marks;   // sorted by start, at most kMaxMarks
    bool more = false;   // more tags are out of balance than marked
    QList<Range> quotes; // each outermost [QUOTE]…[/QUOTE], tags included; an unclosed one runs
                         // to the end of the text; sorted, not overlapping
};

// One linear pass over the whole text (shorter than 2^31 characters, as a QTextDocument's).
Result check(QStringView text);

// A text as the check reads it, one byte for each UTF-16 unit (ASCII kept, U+2028 and U+2029
// as LF, the rest as 0x80), in pieces of whole lines of about `pieceSize`, kept up to date edit
// by edit. A copy costs next to nothing and is not touched by later edits: a worker thread can
// check it while the user types on.
class PiecedText {
public:
    explicit PiecedText(qsizetype pieceSize = 16 * 1024) : m_pieceSize(pieceSize) {}

    // Replaces `removed` characters at `position` by `added`; a few pieces are made again.
    void replace(qsizetype position, qsizetype removed, QStringView added);
    void clear() { *this = PiecedText(m_pieceSize); }
    qsizetype size() const { return m_size; }
    // Each but the last ends with a line break, so that no tag spans two.
    const QList<QByteArray>& pieces() const { return m_pieces; }

private:
    QList<QByteArray> m_pieces;
    qsizetype m_size = 0;
    qsizetype m_pieceSize;
};

// The same pass over a text in pieces.
Result check(const PiecedText& text);

} // namespace tagbalance
