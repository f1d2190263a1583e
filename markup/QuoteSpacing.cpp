#include "markup/QuoteSpacing.h"

#include <QStringMatcher>

#include <algorithm>
#include <exception>

namespace quotespacing {

namespace {

constexpr QStringView kLineBreak = u"\r\n";
constexpr QStringView kBlankLine = u"\r\n\r\n";

bool lineBreakAt(QStringView text, qsizetype pos) {
    return pos + 1 < text.size() && text[pos] == u'\r' && text[pos + 1] == u'\n';
}

// The text rebuilt as a pass tidies it: `out` is the changed text up to the input position
// `copied`, from where the input follows unchanged. Nothing is copied until the first change.
class Rebuilt {
public:
    explicit Rebuilt(const QString& text) : in(text), m_text(text) {}

    // Copies the input up to `end`; the caller then skips to where the input goes on.
    void copyUpTo(qsizetype end) {
        if (!m_changed)
            out.reserve(m_text.size());
        m_changed = true;
        out.append(in.sliced(copied, end - copied));
        copied = end;
    }

    QString result() {
        if (!m_changed)
            return m_text;
        out.append(in.sliced(copied));
        return out;
    }

    const QStringView in;
    QString out;
    qsizetype copied = 0;

private:
    const QString& m_text;
    bool m_changed = false;
};

} // namespace

// Removing the line breaks before a tag is popping CR LF pairs off the end of the rebuilt text.
QString tidyBeforeOpeningTags(const QString& text) {
    static const QStringMatcher blankBeforeTag(u"\r\n\r\n[QUOTE]");
    Rebuilt r(text);
    qsizetype from = 0;
    while (from <= r.in.size()) {
        const qsizetype found = blankBeforeTag.indexIn(r.in, from);
        if (found < 0)
            break;
        // Where the match sits in the text as changed so far.
        const qsizetype at = r.out.size() + (found - r.copied);
        // A match among the first four characters is left alone.
        if (at < 4) {
            from = found + 1;
            continue;
        }
        r.copyUpTo(found + 4);
        while (r.out.size() >= 4 && r.out.endsWith(kBlankLine))
            r.out.chop(2);
        // The search goes on one past the match's old position in the now shorter text. After
        // more than five removed pairs that is beyond the tag, and whatever it jumps over keeps
        // its blank lines. The position can only fall into `out` on its final LF, where no
        // match can begin.
        from = r.copied + std::max<qsizetype>(at + 1 - r.out.size(), 0);
    }
    return r.result();
}

// Each closing tag is looked at once, left to right: collapsing the run behind one tag never
// creates a new match in front of it.
QString tidyAfterClosingTags(const QString& text) {
    static const QStringMatcher closingTag(u"[/QUOTE]");
    Rebuilt r(text);
    for (qsizetype from = 0;;) {
        const qsizetype tag = closingTag.indexIn(r.in, from);
        if (tag < 0)
            break;
        const qsizetype afterTag = tag + 8;
        qsizetype runEnd = afterTag;
        while (lineBreakAt(r.in, runEnd))
            runEnd += 2;
        if (runEnd - afterTag >= 4) {
            r.copyUpTo(afterTag);
            r.out.append(kLineBreak);
            r.copied = runEnd;
        }
        from = runEnd;
    }
    return r.result();
}

FormatResult runPasses(const QString& text, std::initializer_list<Pass> passes) {
    FormatResult result{text, false};
    try {
        for (const Pass pass : passes)
            result.text = pass(result.text);
    } catch (const std::exception&) {
        result.failed = true;
    }
    return result;
}

} // namespace quotespacing

FormatResult strFormat(const QString& strText) {
    return quotespacing::runPasses(
        strText, {quotespacing::tidyBeforeOpeningTags, quotespacing::tidyAfterClosingTags});
}
