#include "markup/QuoteSpacing.h"

#include "platform/boxes.h"

#include <QStringMatcher>

#include <algorithm>
#include <exception>

namespace quotespacing {

std::function<void()> betweenPassesHook;

namespace {

constexpr QStringView kLineBreak = u"\r\n";
constexpr QStringView kBlankLine = u"\r\n\r\n";

bool lineBreakAt(QStringView text, qsizetype pos) {
    return pos + 1 < text.size() && text[pos] == u'\r' && text[pos + 1] == u'\n';
}

} // namespace

// The text is rebuilt in `out` (the changed text up to the tag tidied last); input[copied..]
// follows it unchanged. Removing the line breaks is popping CR LF pairs off the end of `out`.
QString tidyBeforeOpeningTags(const QString& text) {
    static const QStringMatcher blankBeforeTag(u"\r\n\r\n[QUOTE]");
    const QStringView in(text);
    QString out;
    qsizetype copied = 0;
    qsizetype from = 0;
    while (from <= in.size()) {
        const qsizetype found = blankBeforeTag.indexIn(in, from);
        if (found < 0)
            break;
        // Where the match sits in the text as changed so far.
        const qsizetype at = out.size() + (found - copied);
        // A match among the first four characters is left alone.
        if (at < 4) {
            from = found + 1;
            continue;
        }
        if (copied == 0)
            out.reserve(text.size());
        out.append(in.sliced(copied, found + 4 - copied));
        copied = found + 4;
        while (out.size() >= 4 && out.endsWith(kBlankLine))
            out.chop(2);
        // The search goes on one past the match's old position in the now shorter text. After
        // more than five removed pairs that is beyond the tag, and whatever it jumps over keeps
        // its blank lines. The position can only fall into `out` on its final LF, where no
        // match can begin.
        from = copied + std::max<qsizetype>(at + 1 - out.size(), 0);
    }
    if (copied == 0)
        return text;
    out.append(in.sliced(copied));
    return out;
}

// Each closing tag is looked at once, left to right: collapsing the run behind one tag never
// creates a new match in front of it.
QString tidyAfterClosingTags(const QString& text) {
    static const QStringMatcher closingTag(u"[/QUOTE]");
    const QStringView in(text);
    QString out;
    qsizetype copied = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype tag = closingTag.indexIn(in, from);
        if (tag < 0)
            break;
        const qsizetype afterTag = tag + 8;
        qsizetype runEnd = afterTag;
        while (lineBreakAt(in, runEnd))
            runEnd += 2;
        if (runEnd - afterTag >= 4) {
            if (copied == 0)
                out.reserve(text.size());
            out.append(in.sliced(copied, afterTag - copied));
            out.append(kLineBreak);
            copied = runEnd;
        }
        from = runEnd;
    }
    if (copied == 0)
        return text;
    out.append(in.sliced(copied));
    return out;
}

} // namespace quotespacing

QString strFormat(const QString& strText) {
    QString text = strText;
    try {
        text = quotespacing::tidyBeforeOpeningTags(text);
        if (quotespacing::betweenPassesHook)
            quotespacing::betweenPassesHook();
        text = quotespacing::tidyAfterClosingTags(text);
    } catch (const std::exception&) {
        boxes::MsgBox(QStringLiteral("Fehler in strFormat"), boxes::Icon::Critical,
                      QStringLiteral("Fehler"));
    }
    return text;
}
