#include "text/TagBalance.h"

#include "text/TagTable.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace tagbalance {

namespace {

using tagtable::kList;
using tagtable::kLongestName;
using tagtable::kQuote;
using tagtable::kStar;
using tagtable::kTags;

bool isLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The scan reads the text's UTF-16 units or the bytes of a PiecedText alike.
char16_t unitAt(QStringView text, qsizetype i) {
    return text[i].unicode();
}
char16_t unitAt(QByteArrayView text, qsizetype i) {
    return char16_t(uchar(text[i]));
}
qsizetype find(QStringView text, char16_t c, qsizetype from) {
    return text.indexOf(QChar(c), from);
}
qsizetype find(QByteArrayView text, char16_t c, qsizetype from) {
    // Called for each tag: straight to memchr.
    const auto* at = static_cast<const char*>(
        std::memchr(text.data() + from, int(c), size_t(text.size() - from)));
    return at ? at - text.data() : -1;
}

template <typename View> int kindOf(View name) {
    return tagtable::indexOf(name.size(), [name](qsizetype i) { return unitAt(name, i); });
}

// "[", an optional "/", a known name, then "]" or "=" at `nameEnd`.
struct Head {
    int kind = -1;
    bool closing = false;
    qsizetype nameEnd = 0;
};

template <typename View> std::optional<Head> headAt(View text, qsizetype pos) {
    const qsizetype n = text.size();
    if (pos < 0 || pos >= n || unitAt(text, pos) != u'[')
        return std::nullopt;
    qsizetype i = pos + 1;
    const bool closing = i < n && unitAt(text, i) == u'/';
    if (closing)
        ++i;
    const qsizetype nameStart = i;
    while (i < n && i - nameStart <= kLongestName && unitAt(text, i) != u']' &&
           unitAt(text, i) != u'=')
        ++i;
    if (i >= n || (unitAt(text, i) != u']' && unitAt(text, i) != u'='))
        return std::nullopt;
    const int kind = kindOf(text.sliced(nameStart, i - nameStart));
    if (kind < 0 || (unitAt(text, i) == u'=' && (closing || kind == kStar)))
        return std::nullopt;
    return Head{kind, closing, i};
}

// The exclusive end of the tag with this head, or -1: a parameter ends at the first ']' of its
// line.
template <typename View> qsizetype tagEnd(View text, const Head& head) {
    qsizetype i = head.nameEnd;
    if (unitAt(text, i) == u'=') {
        ++i;
        while (i < text.size() && unitAt(text, i) != u']' && !isLineBreak(unitAt(text, i)))
            ++i;
        if (i >= text.size() || unitAt(text, i) != u']')
            return -1;
    }
    return i + 1;
}

// Where parameters end, for a pass over many tags: the next ']' and the next line break are
// remembered, so that "[URL=" repeated without a ']' stays linear.
template <typename View> class ParameterEnds {
public:
    explicit ParameterEnds(View text) : text_(text) {}

    // The exclusive end of the tag whose name ends at `nameEnd`, or -1.
    qsizetype tagEnd(qsizetype nameEnd) {
        if (unitAt(text_, nameEnd) == u']')
            return nameEnd + 1;
        const qsizetype from = nameEnd + 1;
        if (close_ < from) {
            close_ = find(text_, u']', from);
            if (close_ < 0)
                close_ = text_.size();
        }
        if (break_ < from) {
            break_ = from;
            while (break_ < text_.size() && !isLineBreak(unitAt(text_, break_)))
                ++break_;
        }
        return close_ < text_.size() && close_ < break_ ? close_ + 1 : -1;
    }

private:
    View text_;
    qsizetype close_ = -1;
    qsizetype break_ = -1;
};

QString tagText(int kind, bool closing) {
    return (closing ? QStringLiteral("[/") : QStringLiteral("[")) + kTags[size_t(kind)].name +
           QLatin1Char(']');
}

// A stack in blocks of 256, 512, 1024, … entries: a short text needs one small block, a long
// stack grows without copying, and its large blocks go back to the system once freed. Entries
// are not initialised before they are pushed.
template <typename T> class BlockStack {
public:
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T& operator[](size_t i) {
        const auto block = size_t(std::bit_width(i / kFirst + 1) - 1);
        return m_blocks[block][i - kFirst * ((size_t(1) << block) - 1)];
    }
    T& back() { return (*this)[m_size - 1]; }
    void push_back(const T& value) {
        if (m_size == kFirst * ((size_t(1) << m_blocks.size()) - 1))
            m_blocks.emplace_back(new T[kFirst << m_blocks.size()]);
        (*this)[m_size++] = value;
    }
    void pop_back() { --m_size; }

private:
    static constexpr size_t kFirst = 256;
    std::vector<std::unique_ptr<T[]>> m_blocks;
    size_t m_size = 0;
};

// The pass, piece by piece; no tag spans two pieces.
class Balance {
public:
    Balance() { m_openTop.fill(-1); }

    template <typename View> void scan(View piece, qsizetype offset) {
        ParameterEnds<View> ends(piece);
        qsizetype from = 0;
        for (qsizetype pos = find(piece, u'[', 0); pos >= 0; pos = find(piece, u'[', from)) {
            from = pos + 1;
            const std::optional<Head> head = headAt(piece, pos);
            if (!head)
                continue;
            const qsizetype end = ends.tagEnd(head->nameEnd);
            if (end < 0)
                continue;
            from = end; // a parameter's brackets are not tags
            take(*head, offset + pos, end - pos);
        }
    }

    // `lengthAt(start)` gives the length of the tag at `start`, for the unclosed ones.
    template <typename LengthAt> Result finish(qsizetype textSize, LengthAt lengthAt) {
        QList<Mark> unclosed;
        for (size_t i = 0; i < m_stack.size() && !m_result.more; ++i) {
            const Run& run = m_stack[i];
            for (qsizetype k = 0; k < run.count - run.crossed; ++k) {
                if (unclosed.size() == kMaxMarks) {
                    m_result.more = true;
                    break;
                }
                const qsizetype start = run.start + k * run.step;
                unclosed.append({start, qint32(lengthAt(start)), Problem::Unclosed, run.kind});
            }
        }
        if (m_openTop[kQuote] >= 0)
            m_result.quotes.append({m_quoteStart, textSize});
        QList<Mark>& marks = m_result.marks;
        marks.reserve(unclosed.size() + m_onClosers.size());
        std::merge(unclosed.cbegin(), unclosed.cend(), m_onClosers.cbegin(), m_onClosers.cend(),
                   std::back_inserter(marks),
                   [](const Mark& a, const Mark& b) { return a.start < b.start; });
        if (marks.size() > kMaxMarks) {
            marks.resize(kMaxMarks);
            m_result.more = true;
        }
        return std::move(m_result);
    }

private:
    // Open tags of one name pushed one after the other at even steps (10 MB of "[B]" make 20
    // to a line) share one entry: a text full of open tags keeps a small stack.
    struct Run {
        qint32 start; // the first tag's
        qint32 count;
        qint32 crossed; // the topmost ones are closed across others while those stay open
        qint32 below;   // the next run down the stack with open tags of this name, or -1
        quint16 step;   // from one tag to the next
        quint8 kind;
    };

    void take(const Head& head, qsizetype start, qsizetype length) {
        const int kind = head.kind;
        qint32& open = m_openTop[size_t(kind)]; // the topmost run with open tags of this name
        const Mark mark{start, qint32(length), Problem::Unopened, quint8(kind), 0, head.closing};
        if (kind == kStar) {
            if (m_openTop[kList] < 0)
                markCloser(mark, Problem::OutsideList);
        } else if (!head.closing) {
            if (kind == kQuote && open < 0)
                m_quoteStart = start;
            push(kind, start);
        } else if (open < 0) {
            markCloser(mark, Problem::Unopened);
        } else {
            // The top run is never crossed out at its top, nor empty.
            Run& top = m_stack.back();
            const quint8 topKind = top.kind;
            if (topKind == kind) {
                // The top run holds the topmost open tag of this name.
                if (--top.count == 0) {
                    open = top.below;
                    m_stack.pop_back();
                    while (!m_stack.empty() && m_stack.back().crossed > 0) {
                        Run& exposed = m_stack.back();
                        exposed.count -= exposed.crossed;
                        exposed.crossed = 0;
                        if (exposed.count > 0)
                            break;
                        m_stack.pop_back(); // it had no open tags left, nor a link
                    }
                }
            } else {
                Run& closed = m_stack[size_t(open)];
                if (++closed.crossed == closed.count)
                    open = closed.below;
                Mark crossed = mark;
                crossed.openName = topKind;
                markCloser(crossed, Problem::Crossed);
            }
            if (kind == kQuote && open < 0)
                m_result.quotes.append({m_quoteStart, start + length});
        }
    }

    void push(int kind, qsizetype start) {
        qint32& open = m_openTop[size_t(kind)];
        if (!m_stack.empty()) {
            Run& top = m_stack.back();
            const qsizetype step = start - top.start;
            if (top.kind == kind && top.count == 1 && step <= 0xFFFF) {
                top.step = quint16(step);
                top.count = 2;
                return;
            }
            if (top.kind == kind && top.count > 1 &&
                start == top.start + qsizetype(top.count) * top.step) {
                ++top.count;
                return;
            }
        }
        m_stack.push_back({qint32(start), 1, 0, open, 0, quint8(kind)});
        open = qint32(m_stack.size() - 1);
    }

    void markCloser(Mark mark, Problem problem) {
        // Found in text order: one past the limit can never be among the first.
        if (m_onClosers.size() == kMaxMarks) {
            m_result.more = true;
            return;
        }
        mark.problem = problem;
        m_onClosers.append(mark);
    }

    Result m_result;
    QList<Mark> m_onClosers;
    BlockStack<Run> m_stack;
    std::array<qint32, kTags.size()> m_openTop{};
    qsizetype m_quoteStart = 0;
};

char skeletonOf(char16_t c) {
    if (c < 0x80)
        return char(c);
    return c == QChar::LineSeparator || c == QChar::ParagraphSeparator ? '\n' : char(0x80);
}

QByteArray skeletonOf(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    std::transform(text.cbegin(), text.cend(), bytes.begin(),
                   [](QChar c) { return skeletonOf(c.unicode()); });
    return bytes;
}

bool isBreakByte(char c) {
    return c == '\n' || c == '\r';
}

} // namespace

std::optional<Tag> tagAt(QStringView text, qsizetype pos) {
    const std::optional<Head> head = headAt(text, pos);
    if (!head)
        return std::nullopt;
    const qsizetype end = tagEnd(text, *head);
    if (end < 0)
        return std::nullopt;
    return Tag{end - pos, QString(kTags[size_t(head->kind)].name), head->closing,
               end - 1 != head->nameEnd};
}

QString message(const Mark& mark) {
    switch (mark.problem) {
    case Problem::Unclosed:
        return tagText(mark.name, false) + QStringLiteral(" wird nicht geschlossen");
    case Problem::Unopened:
        return tagText(mark.name, true) + QStringLiteral(" schließt kein offenes ") +
               tagText(mark.name, false);
    case Problem::Crossed:
        return tagText(mark.name, true) + QStringLiteral(" schließt ") + tagText(mark.name, false) +
               QStringLiteral(", aber ") + tagText(mark.openName, false) +
               QStringLiteral(" ist noch offen");
    case Problem::OutsideList:
        return tagText(mark.name, mark.closing) + QStringLiteral(" steht außerhalb einer Liste");
    }
    return QString();
}

Result check(QStringView text) {
    Balance balance;
    balance.scan(text, 0);
    return balance.finish(text.size(), [text](qsizetype start) {
        return tagEnd(text, *headAt(text, start)) - start;
    });
}

Result check(const PiecedText& text) {
    Balance balance;
    std::vector<qsizetype> starts;
    starts.reserve(size_t(text.pieces().size()));
    qsizetype offset = 0;
    for (const QByteArray& piece : text.pieces()) {
        starts.push_back(offset);
        balance.scan(QByteArrayView(piece), offset);
        offset += piece.size();
    }
    return balance.finish(offset, [&](qsizetype start) {
        const auto at = std::upper_bound(starts.cbegin(), starts.cend(), start) - 1;
        const QByteArrayView piece(text.pieces()[at - starts.cbegin()]);
        const qsizetype pos = start - *at;
        return tagEnd(piece, *headAt(piece, pos)) - pos;
    });
}

void PiecedText::replace(qsizetype position, qsizetype removed, QStringView added) {
    const qsizetype end = position + removed;
    Q_ASSERT(position >= 0 && removed >= 0 && end <= m_size);
    // The pieces holding `position` and `end` (the last one at the text's end) are made again,
    // and so is a small neighbour, so that pieces do not shrink for good. The one holding `end`
    // ends with a line break or the text, and so does the new text.
    const qsizetype count = m_pieces.size();
    qsizetype first = 0, firstStart = 0;
    while (first + 1 < count && firstStart + m_pieces[first].size() <= position)
        firstStart += m_pieces[first++].size();
    qsizetype last = first, lastStart = firstStart;
    while (last + 1 < count && lastStart + m_pieces[last].size() <= end)
        lastStart += m_pieces[last++].size();
    const qsizetype small = m_pieceSize / 4;
    // Most edits fall inside one piece (before its line break, as `last` would be the next one
    // otherwise) and leave it a fair size: that piece is edited in place, with no new memory.
    const qsizetype grown = count > 0 ? m_pieces[first].size() + added.size() - removed : 0;
    if (count > 0 && first == last && grown > small && grown <= 2 * m_pieceSize) {
        m_pieces[first].replace(position - firstStart, removed, skeletonOf(added));
        m_size += added.size() - removed;
        return;
    }
    const bool withPrevious = first > 0 && m_pieces[first - 1].size() < small;
    const bool withNext = last + 1 < count && m_pieces[last + 1].size() < small;

    QByteArray text;
    if (count > 0) {
        text.reserve((withPrevious ? m_pieces[first - 1].size() : 0) + position - firstStart +
                     added.size() + lastStart + m_pieces[last].size() - end +
                     (withNext ? m_pieces[last + 1].size() : 0));
        if (withPrevious)
            text += m_pieces[first - 1];
        text += QByteArrayView(m_pieces[first]).first(position - firstStart);
    }
    text += skeletonOf(added);
    if (count > 0) {
        text += QByteArrayView(m_pieces[last]).sliced(end - lastStart);
        if (withNext)
            text += m_pieces[last + 1];
    }

    // Cut after the first line break once a piece is long enough; a longer line stays whole.
    QList<QByteArray> made;
    qsizetype from = 0;
    while (text.size() - from > 2 * m_pieceSize) {
        qsizetype cut = from + m_pieceSize - 1;
        while (cut < text.size() && !isBreakByte(text[cut]))
            ++cut;
        if (cut >= text.size() - 1)
            break;
        made.append(text.mid(from, cut + 1 - from));
        from = cut + 1;
    }
    if (from < text.size())
        made.append(from == 0 ? text : text.mid(from));

    const qsizetype replaced =
        count == 0 ? 0 : last - first + 1 + (withPrevious ? 1 : 0) + (withNext ? 1 : 0);
    const qsizetype begin = first - (withPrevious ? 1 : 0);
    qsizetype k = 0;
    for (; k < std::min(replaced, made.size()); ++k)
        m_pieces[begin + k] = std::move(made[k]);
    if (k < replaced)
        m_pieces.remove(begin + k, replaced - k);
    for (; k < made.size(); ++k)
        m_pieces.insert(begin + k, std::move(made[k]));
    m_size += added.size() - removed;
}

} // namespace tagbalance
