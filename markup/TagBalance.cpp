#include "markup/TagBalance.h"

#include <QLatin1String>

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace tagbalance {

namespace {

constexpr std::array<QLatin1String, 25> kNames = {
    QLatin1String("B"),       QLatin1String("I"),      QLatin1String("U"),
    QLatin1String("S"),       QLatin1String("QUOTE"),  QLatin1String("URL"),
    QLatin1String("IMG"),     QLatin1String("CODE"),   QLatin1String("LIST"),
    QLatin1String("*"),       QLatin1String("COLOR"),  QLatin1String("SIZE"),
    QLatin1String("FONT"),    QLatin1String("CENTER"), QLatin1String("LEFT"),
    QLatin1String("RIGHT"),   QLatin1String("EMAIL"),  QLatin1String("SPOILER"),
    QLatin1String("NOPARSE"), QLatin1String("INDENT"), QLatin1String("HIGHLIGHT"),
    QLatin1String("PHP"),     QLatin1String("HTML"),   QLatin1String("YOUTUBE"),
    QLatin1String("MEDIA")};
constexpr int kQuote = 4;
constexpr int kList = 8;
constexpr int kStar = 9;
constexpr qsizetype kLongestName = 9;

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// ASCII-only folding: Unicode folding would let "[ſ]" pass for "[S]".
int kindOf(QStringView name) {
    for (int k = 0; k < int(kNames.size()); ++k) {
        const QLatin1String known = kNames[size_t(k)];
        if (known.size() != name.size())
            continue;
        bool same = true;
        for (qsizetype i = 0; i < name.size() && same; ++i) {
            char16_t c = name[i].unicode();
            if (c >= u'a' && c <= u'z')
                c = char16_t(c - (u'a' - u'A'));
            same = c == char16_t(known[i].unicode());
        }
        if (same)
            return k;
    }
    return -1;
}

// "[", an optional "/", a known name, then "]" or "=" at `nameEnd`.
struct Head {
    int kind = -1;
    bool closing = false;
    qsizetype nameEnd = 0;
};

std::optional<Head> headAt(QStringView text, qsizetype pos) {
    const qsizetype n = text.size();
    if (pos < 0 || pos >= n || text[pos] != u'[')
        return std::nullopt;
    qsizetype i = pos + 1;
    const bool closing = i < n && text[i] == u'/';
    if (closing)
        ++i;
    const qsizetype nameStart = i;
    while (i < n && i - nameStart <= kLongestName && text[i] != u']' && text[i] != u'=')
        ++i;
    if (i >= n || (text[i] != u']' && text[i] != u'='))
        return std::nullopt;
    const int kind = kindOf(text.sliced(nameStart, i - nameStart));
    if (kind < 0 || (text[i] == u'=' && (closing || kind == kStar)))
        return std::nullopt;
    return Head{kind, closing, i};
}

Tag makeTag(const Head& head, qsizetype pos, qsizetype end) {
    return Tag{end - pos, QString(kNames[size_t(head.kind)]), head.closing,
               end - 1 != head.nameEnd};
}

// Where parameters end, for a pass over many tags: the next ']' and the next line break are
// remembered, so that "[URL=" repeated without a ']' stays linear.
class ParameterEnds {
public:
    explicit ParameterEnds(QStringView text) : text_(text) {}

    // The exclusive end of the tag whose name ends at `nameEnd`, or -1.
    qsizetype tagEnd(qsizetype nameEnd) {
        if (text_[nameEnd] == u']')
            return nameEnd + 1;
        const qsizetype from = nameEnd + 1;
        if (close_ < from) {
            close_ = text_.indexOf(u']', from);
            if (close_ < 0)
                close_ = text_.size();
        }
        if (break_ < from) {
            break_ = from;
            while (break_ < text_.size() && !isLineBreak(text_[break_]))
                ++break_;
        }
        return close_ < text_.size() && close_ < break_ ? close_ + 1 : -1;
    }

private:
    QStringView text_;
    qsizetype close_ = -1;
    qsizetype break_ = -1;
};

struct Open {
    int kind = 0;
    qsizetype start = 0;
    qsizetype length = 0;
    bool crossedOut = false; // closed across others while they stay open
};

QString tagText(int kind, bool closing) {
    return (closing ? QStringLiteral("[/") : QStringLiteral("[")) + kNames[size_t(kind)] +
           QLatin1Char(']');
}

} // namespace

std::optional<Tag> tagAt(QStringView text, qsizetype pos) {
    const std::optional<Head> head = headAt(text, pos);
    if (!head)
        return std::nullopt;
    qsizetype i = head->nameEnd;
    if (text[i] == u'=') {
        ++i;
        while (i < text.size() && text[i] != u']' && !isLineBreak(text[i]))
            ++i;
        if (i >= text.size() || text[i] != u']')
            return std::nullopt;
    }
    return makeTag(*head, pos, i + 1);
}

Result check(QStringView text) {
    Result result;
    QList<Mark> onClosers; // found in text order
    // The stack keeps crossed-out entries until they reach the top; per name, where its open
    // entries stand, so that finding an open [X] deeper down costs nothing.
    std::vector<Open> stack;
    std::array<std::vector<size_t>, kNames.size()> openOf;
    qsizetype quoteStart = 0;
    ParameterEnds ends(text);

    qsizetype from = 0;
    for (qsizetype pos = text.indexOf(u'['); pos >= 0; pos = text.indexOf(u'[', from)) {
        from = pos + 1;
        const std::optional<Head> head = headAt(text, pos);
        if (!head)
            continue;
        const qsizetype end = ends.tagEnd(head->nameEnd);
        if (end < 0)
            continue;
        from = end; // a parameter's brackets are not tags
        const qsizetype length = end - pos;
        const int kind = head->kind;
        auto& open = openOf[size_t(kind)];

        if (kind == kStar) {
            if (openOf[kList].empty())
                onClosers.append({pos, length, Problem::OutsideList,
                                  tagText(kind, head->closing) +
                                      QStringLiteral(" steht außerhalb einer Liste")});
        } else if (!head->closing) {
            if (kind == kQuote && open.empty())
                quoteStart = pos;
            open.push_back(stack.size());
            stack.push_back({kind, pos, length});
        } else if (open.empty()) {
            onClosers.append({pos, length, Problem::Unopened,
                              tagText(kind, true) + QStringLiteral(" schließt kein offenes ") +
                                  tagText(kind, false)});
        } else {
            const int top = stack.back().kind;
            if (top == kind) {
                stack.pop_back();
                while (!stack.empty() && stack.back().crossedOut)
                    stack.pop_back();
            } else {
                stack[open.back()].crossedOut = true;
                onClosers.append({pos, length, Problem::Crossed,
                                  tagText(kind, true) + QStringLiteral(" schließt ") +
                                      tagText(kind, false) + QStringLiteral(", aber ") +
                                      tagText(top, false) + QStringLiteral(" ist noch offen")});
            }
            open.pop_back();
            if (kind == kQuote && open.empty())
                result.quotes.append({quoteStart, end});
        }
    }

    QList<Mark> unclosed;
    for (const Open& o : stack) {
        if (!o.crossedOut)
            unclosed.append({o.start, o.length, Problem::Unclosed,
                             tagText(o.kind, false) + QStringLiteral(" wird nicht geschlossen")});
    }
    if (!openOf[kQuote].empty())
        result.quotes.append({quoteStart, text.size()});
    result.marks.reserve(unclosed.size() + onClosers.size());
    std::merge(unclosed.cbegin(), unclosed.cend(), onClosers.cbegin(), onClosers.cend(),
               std::back_inserter(result.marks),
               [](const Mark& a, const Mark& b) { return a.start < b.start; });
    return result;
}

} // namespace tagbalance
