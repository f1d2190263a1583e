#include "text/BBCode.h"

#include "text/TagTable.h"

#include <QLatin1String>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace bbcode {

namespace {

using tagtable::kTags;

constexpr int kElementCount = int(Element::Smiley) + 1;

// A closing tag reopens at most this many of the inline elements it closed across; the rest
// end there. Keeps crossed tags linear: each closing tag adds at most this many elements.
constexpr int kMaxReopened = 8;

std::optional<Element> elementOf(int tag) {
    switch (tag) {
    case tagtable::kB:
        return Element::Bold;
    case tagtable::kI:
        return Element::Italic;
    case tagtable::kU:
        return Element::Underline;
    case tagtable::kS:
        return Element::Strike;
    case tagtable::kQuote:
        return Element::Quote;
    case tagtable::kUrl:
        return Element::Link;
    case tagtable::kImg:
        return Element::Image;
    case tagtable::kCode:
        return Element::Code;
    case tagtable::kList:
        return Element::List;
    case tagtable::kStar:
        return Element::Item;
    case tagtable::kColor:
        return Element::Color;
    case tagtable::kSize:
        return Element::Size;
    case tagtable::kCenter:
        return Element::Center;
    case tagtable::kLeft:
        return Element::Left;
    case tagtable::kRight:
        return Element::Right;
    case tagtable::kEmail:
        return Element::Email;
    case tagtable::kSpoiler:
        return Element::Spoiler;
    default:
        return std::nullopt;
    }
}

bool isInline(Element e) {
    return e == Element::Bold || e == Element::Italic || e == Element::Underline ||
           e == Element::Strike || e == Element::Color || e == Element::Size;
}

bool isBreakChar(char16_t c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
}

// CR LF counts as one.
qsizetype breakLength(QStringView s, qsizetype i) {
    if (!isBreakChar(s[i].unicode()))
        return 0;
    return s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n' ? 2 : 1;
}

char16_t foldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// `prefix` in lower case.
bool startsWithAscii(QStringView s, qsizetype at, QLatin1String prefix) {
    if (s.size() - at < prefix.size())
        return false;
    for (qsizetype k = 0; k < prefix.size(); ++k)
        if (foldAscii(s[at + k].unicode()) != char16_t(prefix[k].unicode()))
            return false;
    return true;
}

// Nothing that could end an attribute, hide a scheme or break a line.
bool unsafeInAddress(QChar c) {
    const char16_t u = c.unicode();
    return c.isSpace() || u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == u'"' || u == u'<' ||
           u == u'>' || u == u'\\' || c.category() == QChar::Other_Format;
}

std::optional<QString> checkedAddress(QStringView raw) {
    const QStringView a = raw.trimmed();
    if (std::any_of(a.begin(), a.end(), unsafeInAddress))
        return std::nullopt;
    for (const QLatin1String scheme :
         {QLatin1String("http://"), QLatin1String("https://"), QLatin1String("ftp://")})
        if (a.size() > scheme.size() && startsWithAscii(a, 0, scheme))
            return a.toString();
    if (a.size() > 4 && startsWithAscii(a, 0, QLatin1String("www.")))
        return QStringLiteral("http://") + a.toString();
    return std::nullopt;
}

std::optional<QString> checkedEmail(QStringView raw) {
    const QStringView a = raw.trimmed();
    const qsizetype at = a.indexOf(u'@');
    if (at <= 0 || a.lastIndexOf(u'@') != at)
        return std::nullopt;
    const QStringView domain = a.sliced(at + 1);
    if (domain.indexOf(u'.') <= 0 || domain.endsWith(u'.'))
        return std::nullopt;
    if (std::any_of(a.begin(), a.end(), [](QChar c) { return unsafeInAddress(c) || c == u'\''; }))
        return std::nullopt;
    return a.toString();
}

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
}

std::optional<QString> checkedColor(QStringView p) {
    QString value;
    value.reserve(p.size());
    for (const QChar c : p)
        value += QChar(foldAscii(c.unicode()));
    if (value.isEmpty())
        return std::nullopt;
    if (value.front() == u'#') {
        if (value.size() != 4 && value.size() != 7)
            return std::nullopt;
        const bool hex = std::all_of(value.cbegin() + 1, value.cend(),
                                     [](QChar c) { return isHexDigit(c.unicode()); });
        return hex ? std::optional(value) : std::nullopt;
    }
    const bool letters =
        std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c >= u'a' && c <= u'z'; });
    return letters ? std::optional(value) : std::nullopt;
}

std::optional<QString> checkedSize(QStringView p) {
    if (p.isEmpty() || p.size() > 3 ||
        !std::all_of(p.begin(), p.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const int percent = p.toInt();
    return percent >= 50 && percent <= 200 ? std::optional(QString::number(percent)) : std::nullopt;
}

std::optional<QString> checkedListType(QStringView p) {
    for (const char* type : {"", "1", "a", "A", "i", "I"})
        if (p == QLatin1String(type))
            return p.toString();
    return std::nullopt;
}

QStringView unquoted(QStringView p) {
    return p.size() >= 2 && p.front() == u'"' && p.back() == u'"' ? p.sliced(1, p.size() - 2) : p;
}

// The next place of a fixed text (lower case, found without regard to ASCII case) at or after
// a position that only grows: each part of the post is searched once.
class NextPlace {
public:
    explicit NextPlace(QLatin1String text) : m_text(text) {}
    qsizetype from(QStringView s, qsizetype pos, qsizetype& steps) {
        if (m_at == -1 || m_at >= pos)
            return m_at;
        for (m_at = s.indexOf(QChar(m_text[0]), pos); m_at >= 0;
             m_at = s.indexOf(QChar(m_text[0]), m_at + 1))
            if (startsWithAscii(s, m_at, m_text))
                break;
        steps += (m_at < 0 ? s.size() : m_at) - pos;
        return m_at;
    }

private:
    QLatin1String m_text;
    qsizetype m_at = -2;
};

class Parser {
public:
    Parser(QStringView post, const QStringList& smileys) : s(post) {
        for (const QString& code : smileys)
            if (!code.isEmpty()) {
                m_smileys.push_back(code);
                if (!m_smileyFirsts.contains(code.front()))
                    m_smileyFirsts += code.front();
            }
        std::stable_sort(m_smileys.begin(), m_smileys.end(),
                         [](const QString& a, const QString& b) { return a.size() > b.size(); });
        m_top.fill(-1);
        // Nearly every tag makes a node: room for a post of only tags, up to a point, so that
        // the lists seldom grow by copying. Pages not written to cost nothing.
        const qsizetype room = std::min<qsizetype>(post.size() / 3 + 16, 1 << 20);
        m_tree.nodes.reserve(room);
        m_previous.reserve(size_t(room));
        m_open.reserve(size_t(room));
        addNode(Element::Root, QString(), 0, -1);
    }

    Tree run() {
        const qsizetype n = s.size();
        qsizetype i = 0;
        while (i < n) {
            ++m_tree.steps;
            const QChar c = s[i];
            qsizetype end = 0;
            if (c == u'[') {
                end = tag(i);
            } else if (isBreakChar(c.unicode())) {
                end = lineBreak(i);
            } else if (mayStartAddress(c) && m_top[size_t(Element::Link)] < 0 &&
                       m_top[size_t(Element::Email)] < 0 && (i == 0 || !isWordChar(s[i - 1]))) {
                end = bareAddress(i);
            }
            if (end == 0 && m_smileyFirsts.contains(c))
                end = smiley(i);
            i = end > 0 ? end : i + 1;
        }
        flushText(n);
        while (!m_open.empty())
            popOpen();
        return std::move(m_tree);
    }

private:
    struct Open {
        qint32 node;
        qint32 below; // the next open element of the same kind down the stack, or -1
        Element element;
        bool reopened;
    };

    static bool mayStartAddress(QChar c) {
        const char16_t f = foldAscii(c.unicode());
        return f == u'h' || f == u'f' || f == u'w';
    }
    static bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

    qint32 container() const { return m_open.empty() ? 0 : m_open.back().node; }

    qint32 addNode(Element e, QString value, qsizetype start, qint32 parent) {
        const auto index = qint32(m_tree.nodes.size());
        Node node;
        node.element = e;
        node.parent = parent;
        node.start = start;
        node.value = std::move(value);
        m_tree.nodes.append(std::move(node));
        m_previous.push_back(-1);
        if (parent >= 0) {
            Node& p = m_tree.nodes[parent];
            if (p.lastChild >= 0) {
                m_tree.nodes[p.lastChild].next = index;
                m_previous.back() = p.lastChild;
            } else {
                p.firstChild = index;
            }
            p.lastChild = index;
        }
        return index;
    }

    // Only the last child of its parent is ever taken out.
    void unlink(qint32 index) {
        Node& node = m_tree.nodes[index];
        Node& parent = m_tree.nodes[node.parent];
        const qint32 previous = m_previous[size_t(index)];
        parent.lastChild = previous;
        if (previous >= 0)
            m_tree.nodes[previous].next = -1;
        else
            parent.firstChild = -1;
        node.parent = -1;
    }

    // Whatever stands directly in a list stands in an item.
    qint32 itemContainer(Element e, qsizetype start) {
        if (m_tree.nodes[container()].element == Element::List && e != Element::Item)
            open(Element::Item, QString(), start, false);
        return container();
    }

    qint32 append(Element e, QString value, qsizetype start) {
        return addNode(e, std::move(value), start, itemContainer(e, start));
    }

    void open(Element e, QString value, qsizetype start, bool reopened) {
        const qint32 node = append(e, std::move(value), start);
        m_open.push_back({node, m_top[size_t(e)], e, reopened});
        m_top[size_t(e)] = qint32(m_open.size() - 1);
    }

    void popOpen() {
        ++m_tree.steps;
        const Open& top = m_open.back();
        m_top[size_t(top.element)] = top.below;
        if (top.reopened && m_tree.nodes[top.node].firstChild < 0)
            unlink(top.node); // reopened for nothing
        m_open.pop_back();
    }

    // Closes the open element at `depth` and all inside it.
    void closeAt(size_t depth, bool reopen, qsizetype end) {
        std::array<qint32, kMaxReopened> again{};
        int count = 0;
        for (size_t k = depth + 1; reopen && k < m_open.size() && count < kMaxReopened; ++k)
            if (isInline(m_open[k].element))
                again[size_t(count++)] = m_open[k].node;
        while (m_open.size() > depth)
            popOpen();
        for (int k = 0; k < count; ++k) {
            const Element element = m_tree.nodes[again[size_t(k)]].element;
            QString value = m_tree.nodes[again[size_t(k)]].value;
            open(element, std::move(value), end, true);
        }
    }

    void flushText(qsizetype to) {
        if (to > m_textStart)
            addText(m_textStart, to);
        m_textStart = to;
    }

    void addText(qsizetype from, qsizetype to) {
        QStringView text = s.sliced(from, to - from);
        if (m_tree.nodes[container()].element == Element::List) {
            while (!text.isEmpty() && text.front().isSpace()) {
                text = text.sliced(1);
                ++from;
            }
            if (text.isEmpty())
                return;
        }
        const qint32 parent = itemContainer(Element::Text, from);
        const qint32 last = m_tree.nodes[parent].lastChild;
        if (last >= 0 && m_tree.nodes[last].element == Element::Text)
            m_tree.nodes[last].value += text;
        else
            addNode(Element::Text, text.toString(), from, parent);
    }

    // A shown line break just before `pos` goes: the tag there starts or ends a block.
    void dropBreakBefore(qsizetype pos) {
        if (m_lastBreakEnd == pos && m_lastBreak >= 0 && m_tree.nodes[m_lastBreak].parent >= 0)
            unlink(m_lastBreak);
        m_lastBreak = -1;
    }

    qsizetype lineBreak(qsizetype i) {
        flushText(i);
        const qsizetype end = i + breakLength(s, i);
        ++m_line;
        if (i != m_swallowAt && m_tree.nodes[container()].element != Element::List) {
            m_lastBreak = addNode(Element::Break, QString::number(m_line), i, container());
            m_lastBreakEnd = end;
        }
        m_textStart = end;
        return end;
    }

    qsizetype bareAddress(qsizetype i) {
        qsizetype prefix = 0;
        for (const QLatin1String start : {QLatin1String("http://"), QLatin1String("https://"),
                                          QLatin1String("ftp://"), QLatin1String("www.")})
            if (startsWithAscii(s, i, start))
                prefix = start.size();
        if (prefix == 0)
            return 0;
        qsizetype end = i + prefix;
        qsizetype opened = 0, closed = 0; // parentheses
        while (end < s.size()) {
            const QChar c = s[end];
            if (c.isSpace() || c == u'[' || c == u'<' || c == u'>' || c == u'"')
                break;
            opened += c == u'(';
            closed += c == u')';
            ++end;
        }
        const qsizetype runEnd = end;
        m_tree.steps += runEnd - i;
        // Sentence punctuation after an address is not part of it; a ')' is when it closes a '('.
        while (end > i + prefix && QStringView(u".,;:!?)'").contains(s[end - 1])) {
            if (s[end - 1] == u')' && closed <= opened)
                break;
            closed -= s[end - 1] == u')';
            --end;
        }
        const std::optional<QString> address = checkedAddress(s.sliced(i, end - i));
        if (end == i + prefix || !address)
            return runEnd; // stays text, and no address starts inside it
        flushText(i);
        const qint32 link = append(Element::Link, *address, i);
        addNode(Element::Text, s.sliced(i, end - i).toString(), i, link);
        m_textStart = end;
        return end;
    }

    qsizetype smiley(qsizetype i) {
        for (const QString& code : m_smileys) {
            ++m_tree.steps;
            if (s.sliced(i).startsWith(code)) {
                flushText(i);
                append(Element::Smiley, code, i);
                m_textStart = i + code.size();
                return m_textStart;
            }
        }
        return 0;
    }

    // The exclusive end of a parameter that starts at `from`: the first ']' of its line, or -1.
    qsizetype parameterEnd(qsizetype from) {
        if (m_close != -1 && m_close < from)
            m_close = m_closeFinder.from(s, from, m_tree.steps);
        if (m_break < from) {
            m_break = from;
            while (m_break < s.size() && !isBreakChar(s[m_break].unicode()))
                ++m_break;
            m_tree.steps += m_break - from;
        }
        return m_close >= 0 && m_close < m_break ? m_close : -1;
    }

    // The tag at `i`, if it is one that is rendered; its end, or 0 when it stays text.
    qsizetype tag(qsizetype i) {
        const qsizetype n = s.size();
        qsizetype j = i + 1;
        const bool closing = j < n && s[j] == u'/';
        if (closing)
            ++j;
        const qsizetype nameStart = j;
        while (j < n && j - nameStart <= tagtable::kLongestName && s[j] != u']' && s[j] != u'=' &&
               s[j] != u'[')
            ++j;
        m_tree.steps += j - i;
        if (j >= n || (s[j] != u']' && s[j] != u'='))
            return 0;
        const int kind = tagtable::indexOf(j - nameStart,
                                           [&](qsizetype k) { return s[nameStart + k].unicode(); });
        const std::optional<Element> element = kind >= 0 ? elementOf(kind) : std::nullopt;
        if (!element)
            return 0;
        qsizetype end = j + 1;
        std::optional<QStringView> parameter;
        if (s[j] == u'=') {
            const qsizetype close = parameterEnd(j + 1);
            if (closing || close < 0)
                return 0;
            parameter = s.sliced(j + 1, close - j - 1);
            end = close + 1;
        }
        const tagtable::TagInfo& info = kTags[size_t(kind)];
        if (closing)
            return closeTag(*element, info.block, i, end);
        if ((parameter && info.parameter == tagtable::Parameter::None) ||
            (!parameter && info.parameter == tagtable::Parameter::Required))
            return 0;
        return openTag(*element, info.block, parameter ? unquoted(*parameter) : QStringView(), i,
                       end);
    }

    qsizetype openTag(Element e, bool block, QStringView parameter, qsizetype i, qsizetype end) {
        std::optional<QString> value = QString();
        switch (e) {
        case Element::Color:
            value = checkedColor(parameter);
            break;
        case Element::Size:
            value = checkedSize(parameter);
            break;
        case Element::List:
            value = checkedListType(parameter);
            break;
        case Element::Quote:
        case Element::Spoiler:
            value = parameter.toString();
            break;
        case Element::Link:
            if (parameter.isNull())
                return fromContents(e, i, end, m_urlEnd, QLatin1String("[/url]"));
            value = checkedAddress(parameter);
            break;
        case Element::Email:
            if (parameter.isNull())
                return fromContents(e, i, end, m_emailEnd, QLatin1String("[/email]"));
            value = checkedEmail(parameter);
            break;
        case Element::Image:
            return fromContents(e, i, end, m_imgEnd, QLatin1String("[/img]"));
        case Element::Code:
            return code(i, end);
        case Element::Item: {
            const qint32 list = m_top[size_t(Element::List)];
            if (list < 0)
                return 0;
            flushText(i);
            dropBreakBefore(i);
            closeAt(size_t(list) + 1, false, end);
            open(Element::Item, QString(), i, false);
            m_textStart = end;
            return end;
        }
        default:
            break;
        }
        if (!value)
            return 0;
        flushText(i);
        open(e, *value, i, false);
        if (block)
            m_swallowAt = end;
        m_textStart = end;
        return end;
    }

    // [URL]address[/URL], [EMAIL]address[/EMAIL], [IMG]address[/IMG]: plain contents.
    qsizetype fromContents(Element e, qsizetype i, qsizetype end, NextPlace& closer,
                           QLatin1String closingTag) {
        const qsizetype close = closer.from(s, end, m_tree.steps);
        if (close < 0)
            return 0;
        const qsizetype bracket = m_bracket.from(s, end, m_tree.steps);
        if (bracket >= 0 && bracket < close)
            return 0; // not plain text
        const QStringView contents = s.sliced(end, close - end);
        m_tree.steps += contents.size();
        const std::optional<QString> address =
            e == Element::Email ? checkedEmail(contents) : checkedAddress(contents);
        if (!address)
            return 0;
        flushText(i);
        const qint32 node = append(e, *address, i);
        if (e != Element::Image)
            addNode(Element::Text, contents.toString(), end, node);
        m_textStart = close + closingTag.size();
        return m_textStart;
    }

    qsizetype code(qsizetype i, qsizetype end) {
        const qsizetype close = m_codeEnd.from(s, end, m_tree.steps);
        const qsizetype stop = close < 0 ? s.size() : close;
        qsizetype from = end;
        for (qsizetype k = from; k < stop; ++k)
            if (isBreakChar(s[k].unicode()) && !(s[k] == u'\n' && k > from && s[k - 1] == u'\r'))
                ++m_line;
        m_tree.steps += stop - from;
        qsizetype to = stop;
        from += breakLength(s, from);
        if (to > from && isBreakChar(s[to - 1].unicode()))
            to -= (s[to - 1] == u'\n' && to - 1 > from && s[to - 2] == u'\r') ? 2 : 1;
        flushText(i);
        const qint32 node = append(Element::Code, QString(), i);
        if (to > from)
            addNode(Element::Text, s.sliced(from, to - from).toString(), from, node);
        m_textStart = close < 0 ? s.size() : close + qsizetype(sizeof("[/code]") - 1);
        m_swallowAt = m_textStart;
        return m_textStart;
    }

    qsizetype closeTag(Element e, bool block, qsizetype i, qsizetype end) {
        const qint32 depth = m_top[size_t(e)];
        if (depth < 0)
            return 0;
        flushText(i);
        if (block)
            dropBreakBefore(i);
        closeAt(size_t(depth), e != Element::Item, end);
        if (block)
            m_swallowAt = end;
        m_textStart = end;
        return end;
    }

    QStringView s;
    Tree m_tree;
    std::vector<qint32> m_previous; // each node's previous sibling
    std::vector<Open> m_open;
    std::array<qint32, kElementCount> m_top{}; // the innermost open element of each kind
    std::vector<QString> m_smileys;            // longest first
    QString m_smileyFirsts;
    qsizetype m_textStart = 0; // plain text not yet in the tree begins here
    qsizetype m_swallowAt = -1;
    qint32 m_lastBreak = -1;
    qsizetype m_lastBreakEnd = -1;
    qint32 m_line = 0;
    qsizetype m_close = -2;
    qsizetype m_break = -1;
    NextPlace m_closeFinder{QLatin1String("]")};
    NextPlace m_bracket{QLatin1String("[")};
    NextPlace m_urlEnd{QLatin1String("[/url]")};
    NextPlace m_emailEnd{QLatin1String("[/email]")};
    NextPlace m_imgEnd{QLatin1String("[/img]")};
    NextPlace m_codeEnd{QLatin1String("[/code]")};
};

// Text and attribute values alike; line breaks (in code) as LF.
void appendEscaped(QString& out, QStringView text) {
    qsizetype run = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t c = text[k].unicode();
        QStringView entity;
        switch (c) {
        case u'&':
            entity = u"&amp;";
            break;
        case u'<':
            entity = u"&lt;";
            break;
        case u'>':
            entity = u"&gt;";
            break;
        case u'"':
            entity = u"&quot;";
            break;
        case u'\'':
            entity = u"&#039;";
            break;
        case u'\r':
        case QChar::ParagraphSeparator:
            entity = u"\n";
            break;
        case u'\n':
            if (k > 0 && text[k - 1] == u'\r') {
                out += text.sliced(run, k - run);
                run = k + 1;
            }
            continue;
        default:
            continue;
        }
        out += text.sliced(run, k - run);
        out += entity;
        run = k + 1;
    }
    out += text.sliced(run);
}

// About the length of the HTML, so that it is allocated once: growing a string of many
// megabytes copies it each time.
qsizetype estimatedHtmlLength(const Tree& tree, qsizetype perElement) {
    qsizetype length = 0;
    for (const Node& node : tree.nodes)
        length += node.element == Element::Text ? node.value.size() + node.value.size() / 8
                                                : 2 * node.value.size() + perElement;
    return length;
}

// Depth first without recursion: `enter` writes a node's start and says whether its children
// are written; `leave` writes its end.
template <typename Enter, typename Leave> void walk(const Tree& tree, Enter enter, Leave leave) {
    if (tree.nodes.isEmpty())
        return;
    const QList<Node>& nodes = tree.nodes;
    qint32 n = nodes[0].firstChild;
    while (n >= 0) {
        if (enter(n) && nodes[n].firstChild >= 0) {
            n = nodes[n].firstChild;
            continue;
        }
        leave(n);
        while (n > 0 && nodes[n].next < 0) {
            n = nodes[n].parent;
            if (n > 0)
                leave(n);
        }
        n = n > 0 ? nodes[n].next : -1;
    }
}

void appendListStart(QString& out, const QString& type) {
    if (type.isEmpty())
        out += u"<ul>";
    else if (type == u"1")
        out += u"<ol style=\"list-style-type:decimal\">";
    else if (type == u"a")
        out += u"<ol style=\"list-style-type:lower-alpha\">";
    else if (type == u"A")
        out += u"<ol style=\"list-style-type:upper-alpha\">";
    else if (type == u"i")
        out += u"<ol style=\"list-style-type:lower-roman\">";
    else
        out += u"<ol style=\"list-style-type:upper-roman\">";
}

QStringView alignment(Element e) {
    return e == Element::Center ? u"center" : e == Element::Left ? u"left" : u"right";
}

} // namespace

Tree parse(QStringView post, const QStringList& smileys) {
    return Parser(post, smileys).run();
}

QString forumHtml(const Tree& tree) {
    QString out;
    out.reserve(estimatedHtmlLength(tree, 70));
    const auto enter = [&](qint32 index) {
        const Node& node = tree.nodes[index];
        switch (node.element) {
        case Element::Root:
            break;
        case Element::Text:
            appendEscaped(out, node.value);
            break;
        case Element::Break:
            out += u"<br>";
            break;
        case Element::Bold:
            out += u"<strong class=\"text-strong\">";
            break;
        case Element::Italic:
            out += u"<em class=\"text-italics\">";
            break;
        case Element::Underline:
            out += u"<span style=\"text-decoration:underline\">";
            break;
        case Element::Strike:
            out += u"<s>";
            break;
        case Element::Color:
            out += u"<span style=\"color:";
            appendEscaped(out, node.value);
            out += u"\">";
            break;
        case Element::Size:
            out += u"<span style=\"font-size:";
            appendEscaped(out, node.value);
            out += u"%;line-height:116%\">";
            break;
        case Element::Center:
        case Element::Left:
        case Element::Right:
            out += u"<div style=\"text-align:";
            out += alignment(node.element);
            out += u"\">";
            break;
        case Element::Quote:
            if (node.value.isEmpty()) {
                out += u"<blockquote class=\"uncited\"><div>";
            } else {
                out += u"<blockquote><div><cite>";
                appendEscaped(out, node.value);
                out += u" hat geschrieben:</cite>";
            }
            break;
        case Element::Link:
            out += u"<a href=\"";
            appendEscaped(out, node.value);
            out += u"\" class=\"postlink\">";
            break;
        case Element::Email:
            out += u"<a href=\"mailto:";
            appendEscaped(out, node.value);
            out += u"\">";
            break;
        case Element::List:
            appendListStart(out, node.value);
            break;
        case Element::Item:
            out += u"<li>";
            break;
        case Element::Code:
            out += u"<div class=\"codebox\"><p>Code:</p><pre><code>";
            break;
        case Element::Image:
            out += u"<img src=\"";
            appendEscaped(out, node.value);
            out += u"\" class=\"postimage\" alt=\"Bild\">";
            break;
        case Element::Spoiler:
            out += u"<details class=\"spoiler\"><summary>";
            appendEscaped(out, node.value.isEmpty() ? QStringView(u"Spoiler") : node.value);
            out += u"</summary>";
            break;
        case Element::Smiley:
            out += u"<span class=\"smiley\" title=\"";
            appendEscaped(out, node.value);
            out += u"\">";
            appendEscaped(out, node.value);
            out += u"</span>";
            break;
        }
        return true;
    };
    const auto leave = [&](qint32 index) {
        switch (tree.nodes[index].element) {
        case Element::Bold:
            out += u"</strong>";
            break;
        case Element::Italic:
            out += u"</em>";
            break;
        case Element::Underline:
        case Element::Color:
        case Element::Size:
            out += u"</span>";
            break;
        case Element::Strike:
            out += u"</s>";
            break;
        case Element::Center:
        case Element::Left:
        case Element::Right:
            out += u"</div>";
            break;
        case Element::Quote:
            out += u"</div></blockquote>";
            break;
        case Element::Link:
        case Element::Email:
            out += u"</a>";
            break;
        case Element::List:
            out += tree.nodes[index].value.isEmpty() ? u"</ul>" : u"</ol>";
            break;
        case Element::Item:
            out += u"</li>";
            break;
        case Element::Code:
            out += u"</code></pre></div>";
            break;
        case Element::Spoiler:
            out += u"</details>";
            break;
        default:
            break;
        }
    };
    walk(tree, enter, leave);
    return out;
}

QString previewHtml(const Tree& tree, const PreviewOptions& options) {
    static constexpr QStringView box =
        u"<table width=\"100%\" cellspacing=\"0\" cellpadding=\"6\" border=\"1\" "
        u"style=\"border-color:#b0b0b0\"><tr><td>";
    static constexpr QStringView boxEnd = u"</td></tr></table>";
    QString out;
    out.reserve(estimatedHtmlLength(tree, 130));
    const auto isOpen = [&](qint32 index) { return options.openSpoilers.contains(index); };
    const auto enter = [&](qint32 index) {
        const Node& node = tree.nodes[index];
        switch (node.element) {
        case Element::Root:
            break;
        case Element::Text:
            appendEscaped(out, node.value);
            break;
        case Element::Break:
            out += u"<br><a name=\"line-";
            out += node.value;
            out += u"\"></a>";
            break;
        case Element::Bold:
            out += u"<b>";
            break;
        case Element::Italic:
            out += u"<i>";
            break;
        case Element::Underline:
            out += u"<u>";
            break;
        case Element::Strike:
            out += u"<s>";
            break;
        case Element::Color:
            out += u"<span style=\"color:";
            appendEscaped(out, node.value);
            out += u"\">";
            break;
        case Element::Size:
            out += u"<span style=\"font-size:";
            out += QString::number(node.value.toInt() * options.basePointSize / 100, 'g', 4);
            out += u"pt\">";
            break;
        case Element::Center:
        case Element::Left:
        case Element::Right:
            out += u"<div align=\"";
            out += alignment(node.element);
            out += u"\">";
            break;
        case Element::Quote:
            out += box;
            out += u"<div><b>";
            if (node.value.isEmpty()) {
                out += u"Zitat";
            } else {
                appendEscaped(out, node.value);
                out += u" hat geschrieben:";
            }
            out += u"</b></div>";
            break;
        case Element::Link:
            out += u"<a href=\"";
            appendEscaped(out, node.value);
            out += u"\">";
            break;
        case Element::Email:
            out += u"<a href=\"mailto:";
            appendEscaped(out, node.value);
            out += u"\">";
            break;
        case Element::List:
            appendListStart(out, node.value);
            break;
        case Element::Item:
            out += u"<li>";
            break;
        case Element::Code:
            out += box;
            out += u"<b>Code:</b><pre>";
            break;
        case Element::Image:
            out += u"<table cellspacing=\"0\" cellpadding=\"4\" border=\"1\"><tr><td>Bild: ";
            appendEscaped(out, node.value);
            out += boxEnd;
            break;
        case Element::Spoiler:
            out += u"<div><b>";
            appendEscaped(out, node.value.isEmpty() ? QStringView(u"Spoiler") : node.value);
            out += u"</b> <a href=\"spoiler:";
            out += QString::number(index);
            out += isOpen(index) ? u"\">verbergen</a></div>" : u"\">anzeigen</a></div>";
            if (!isOpen(index))
                return false;
            out += box;
            break;
        case Element::Smiley:
            // Dark text on the light mark, in a dark theme too.
            out += u"<span style=\"background-color:#fff0b0;color:#000000\">";
            appendEscaped(out, node.value);
            out += u"</span>";
            break;
        }
        return true;
    };
    const auto leave = [&](qint32 index) {
        const Node& node = tree.nodes[index];
        switch (node.element) {
        case Element::Bold:
            out += u"</b>";
            break;
        case Element::Italic:
            out += u"</i>";
            break;
        case Element::Underline:
            out += u"</u>";
            break;
        case Element::Strike:
            out += u"</s>";
            break;
        case Element::Color:
        case Element::Size:
            out += u"</span>";
            break;
        case Element::Center:
        case Element::Left:
        case Element::Right:
            out += u"</div>";
            break;
        case Element::Quote:
            out += boxEnd;
            break;
        case Element::Link:
        case Element::Email:
            out += u"</a>";
            break;
        case Element::List:
            out += node.value.isEmpty() ? u"</ul>" : u"</ol>";
            break;
        case Element::Item:
            out += u"</li>";
            break;
        case Element::Code:
            out += u"</pre>";
            out += boxEnd;
            break;
        case Element::Spoiler:
            if (isOpen(index))
                out += boxEnd;
            break;
        default:
            break;
        }
    };
    walk(tree, enter, leave);
    return out;
}

bool openable(const QString& address) {
    if (std::any_of(address.begin(), address.end(), unsafeInAddress))
        return false;
    for (const QLatin1String scheme : {QLatin1String("http://"), QLatin1String("https://"),
                                       QLatin1String("ftp://"), QLatin1String("mailto:")})
        if (startsWithAscii(address, 0, scheme))
            return true;
    return false;
}

} // namespace bbcode
