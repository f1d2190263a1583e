#include "text/QuoteSpacing.h"

#include <algorithm>
#include <exception>

namespace quotespacing {

namespace {

// The line breaks of a text in either form.
class Lines {
public:
    Lines(QStringView lineText, Breaks breaks)
        : text(lineText), width(breaks == Breaks::CrLf ? 2 : 1) {}

    bool breakAt(qsizetype pos) const {
        if (pos < 0 || pos + width > text.size())
            return false;
        return width == 1 ? text[pos] == QChar::ParagraphSeparator
                          : text[pos] == u'\r' && text[pos + 1] == u'\n';
    }

    // The first `tag` at or after `from`. Looking for its bracket is a vectorised search, several
    // times faster than a string search over a long text.
    qsizetype find(QStringView tag, qsizetype from) const {
        for (qsizetype at = from; (at = text.indexOf(u'[', at)) >= 0; ++at) {
            if (text.sliced(at).startsWith(tag))
                return at;
        }
        return -1;
    }

    // Characters of text[0, pos) in the CR LF form.
    qsizetype crLfLength(qsizetype pos) const {
        return width == 2 ? pos : pos + text.first(pos).count(QChar::ParagraphSeparator);
    }

    // The position `length` characters of the CR LF form after `pos`; inside a break, the
    // position after it.
    qsizetype advance(qsizetype pos, qsizetype length) const {
        if (width == 2)
            return pos + length;
        qsizetype done = 0;
        for (; done < length && pos < text.size(); ++pos)
            done += text[pos] == QChar::ParagraphSeparator ? 2 : 1;
        return pos + std::max<qsizetype>(length - done, 0);
    }

    const QStringView text;
    const qsizetype width; // characters of one break
};

// Both lists ascending; deletions that touch become one.
QList<TextChange> joined(const QList<TextChange>& a, const QList<TextChange>& b) {
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    QList<TextChange> out;
    out.reserve(a.size() + b.size());
    auto i = a.cbegin();
    auto j = b.cbegin();
    while (i != a.cend() || j != b.cend()) {
        const bool fromA = j == b.cend() || (i != a.cend() && i->pos <= j->pos);
        const TextChange& next = fromA ? *i++ : *j++;
        if (!out.isEmpty() && next.pos <= out.last().pos + out.last().removed) {
            TextChange& last = out.last();
            last.removed = std::max(last.pos + last.removed, next.pos + next.removed) - last.pos;
        } else {
            out.append(next);
        }
    }
    return out;
}

} // namespace

// Removing the line breaks before a tag is popping breaks off the end of the text as changed so
// far, while it stays at least four characters long.
QList<TextChange> tidyBeforeOpeningTags(QStringView text, Breaks breaks) {
    static constexpr QStringView kTag = u"[QUOTE]";
    const Lines lines(text, breaks);
    const qsizetype w = lines.width;
    QList<TextChange> out;
    qsizetype removed = 0;      // deleted so far, in characters of the CR LF form
    qsizetype removedChars = 0; // the same in characters of `text`
    for (qsizetype from = 0; from + 2 * w <= text.size();) {
        // The first tag behind two breaks that begin at `from` or later.
        qsizetype tag = lines.find(kTag, from + 2 * w);
        while (tag >= 0 && !(lines.breakAt(tag - w) && lines.breakAt(tag - 2 * w)))
            tag = lines.find(kTag, tag + 1);
        if (tag < 0)
            break;
        const qsizetype found = tag - 2 * w;
        // A match among the first four characters of the text as changed so far is left alone.
        // Each character left before it counts at least once, so only a match near the start
        // needs counting.
        if (found - removedChars < 4 && lines.crLfLength(found) - removed < 4) {
            from = found + 1;
            continue;
        }
        // All breaks of the run but one go: the walk back would also stop where fewer than four
        // characters are left, but a match at 4 or later has at least that many before its run.
        qsizetype run = 2;
        while (lines.breakAt(tag - (run + 1) * w))
            ++run;
        const qsizetype pops = run - 1;
        out.append({tag - pops * w, pops * w, {}});
        removed += 2 * pops;
        removedChars += pops * w;
        // The search goes on one past the match's old position in the now shorter text. After
        // more than five removed breaks that is beyond the tag, and whatever it jumps over keeps
        // its blank lines. Inside a break it goes on after the break, where the next match can
        // begin at the earliest.
        from = lines.advance(found, 4 + std::max<qsizetype>(2 * pops - 3, 0));
    }
    return out;
}

// Each closing tag is looked at once, left to right: collapsing the run behind one tag never
// creates a new match in front of it.
QList<TextChange> tidyAfterClosingTags(QStringView text, Breaks breaks) {
    static constexpr QStringView kTag = u"[/QUOTE]";
    const Lines lines(text, breaks);
    QList<TextChange> out;
    for (qsizetype from = 0;;) {
        const qsizetype tag = lines.find(kTag, from);
        if (tag < 0)
            break;
        const qsizetype afterTag = tag + kTag.size();
        qsizetype runEnd = afterTag;
        while (lines.breakAt(runEnd))
            runEnd += lines.width;
        if (runEnd - afterTag >= 2 * lines.width)
            out.append({afterTag + lines.width, runEnd - afterTag - lines.width, {}});
        from = runEnd;
    }
    return out;
}

Tidying runPasses(QStringView text, Breaks breaks, std::initializer_list<Pass> passes) {
    Tidying result;
    try {
        for (const Pass pass : passes)
            result.deletions = joined(result.deletions, pass(text, breaks));
    } catch (const std::exception&) {
        result.failed = true;
    }
    return result;
}

Tidying tidy(QStringView text, Breaks breaks) {
    return runPasses(text, breaks, {tidyBeforeOpeningTags, tidyAfterClosingTags});
}

} // namespace quotespacing

FormatResult strFormat(const QString& strText) {
    const quotespacing::Tidying tidying = quotespacing::tidy(strText, quotespacing::Breaks::CrLf);
    FormatResult result{strText, tidying.failed};
    if (tidying.deletions.isEmpty())
        return result;
    try {
        const QStringView in(strText);
        QString out;
        out.reserve(in.size());
        qsizetype copied = 0;
        for (const TextChange& deletion : tidying.deletions) {
            out.append(in.sliced(copied, deletion.pos - copied));
            copied = deletion.pos + deletion.removed;
        }
        out.append(in.sliced(copied));
        result.text = std::move(out);
    } catch (const std::exception&) {
        result.failed = true;
    }
    return result;
}
