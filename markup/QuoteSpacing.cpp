#include "markup/QuoteSpacing.h"

#include <QStringMatcher>

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

    const QStringView text;
    const qsizetype width; // characters of one break
};

// Offsets in the CR LF form of text positions visited in ascending order.
class CrLfOffsets {
public:
    explicit CrLfOffsets(const Lines& lines) : m_lines(lines) {}

    qsizetype offsetAt(qsizetype pos) {
        if (m_lines.width == 2)
            return pos;
        m_offset +=
            pos - m_pos + m_lines.text.sliced(m_pos, pos - m_pos).count(QChar::ParagraphSeparator);
        m_pos = pos;
        return m_offset;
    }

    // The first position from the last one visited whose offset is at least `offset`; an
    // offset inside a break gives the position after it.
    qsizetype positionOf(qsizetype offset) {
        if (m_lines.width == 2)
            return offset;
        while (m_offset < offset && m_pos < m_lines.text.size()) {
            m_offset += m_lines.text[m_pos] == QChar::ParagraphSeparator ? 2 : 1;
            ++m_pos;
        }
        return m_pos + std::max<qsizetype>(offset - m_offset, 0);
    }

private:
    const Lines& m_lines;
    qsizetype m_pos = 0;
    qsizetype m_offset = 0;
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
    static const QStringMatcher openingTag(u"[QUOTE]");
    const Lines lines(text, breaks);
    const qsizetype w = lines.width;
    CrLfOffsets offsets(lines);
    QList<TextChange> out;
    qsizetype removed = 0; // CR LF characters deleted so far
    for (qsizetype from = 0; from + 2 * w <= text.size();) {
        // The first tag behind two breaks that begin at `from` or later.
        qsizetype tag = openingTag.indexIn(text, from + 2 * w);
        while (tag >= 0 && !(lines.breakAt(tag - w) && lines.breakAt(tag - 2 * w)))
            tag = openingTag.indexIn(text, tag + 1);
        if (tag < 0)
            break;
        const qsizetype found = tag - 2 * w;
        const qsizetype foundOffset = offsets.offsetAt(found);
        const qsizetype at = foundOffset - removed; // in the text as changed so far
        // A match among the first four characters is left alone.
        if (at < 4) {
            from = found + 1;
            continue;
        }
        qsizetype run = 2;
        while (lines.breakAt(tag - (run + 1) * w))
            ++run;
        const qsizetype pops = std::min(run - 1, at / 2 + 1);
        out.append({tag - pops * w, pops * w, {}});
        removed += 2 * pops;
        // The search goes on one past the match's old position in the now shorter text. After
        // more than five removed breaks that is beyond the tag, and whatever it jumps over keeps
        // its blank lines. Inside a break it goes on after the break, where the next match can
        // begin at the earliest.
        from = offsets.positionOf(foundOffset + 4 + std::max<qsizetype>(2 * pops - 3, 0));
    }
    return out;
}

// Each closing tag is looked at once, left to right: collapsing the run behind one tag never
// creates a new match in front of it.
QList<TextChange> tidyAfterClosingTags(QStringView text, Breaks breaks) {
    static const QStringMatcher closingTag(u"[/QUOTE]");
    const Lines lines(text, breaks);
    QList<TextChange> out;
    for (qsizetype from = 0;;) {
        const qsizetype tag = closingTag.indexIn(text, from);
        if (tag < 0)
            break;
        const qsizetype afterTag = tag + 8;
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
