#include "text/HtmlToBBCode.h"

#include <QList>
#include <QRegularExpression>
#include <QUrl>

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_set>
#include <vector>

namespace htmlpaste {
namespace {

// Gumbo frees its tree recursively, which a deeply nested page would overflow; its memory is
// kept here instead and freed in one go.
class Arena {
public:
    ~Arena() {
        for (void* p : m_blocks)
            std::free(p);
    }
    static void* allocate(void* self, size_t size) {
        void* p = std::malloc(size);
        if (p == nullptr)
            std::abort();
        static_cast<Arena*>(self)->m_blocks.insert(p);
        return p;
    }
    static void deallocate(void* self, void* p) {
        if (p != nullptr && static_cast<Arena*>(self)->m_blocks.erase(p) > 0)
            std::free(p);
    }

private:
    std::unordered_set<void*> m_blocks;
};

QString attribute(const GumboElement& e, const char* name) {
    const GumboAttribute* a = gumbo_get_attribute(&e.attributes, name);
    return a != nullptr ? QString::fromUtf8(a->value) : QString();
}

bool hasAttribute(const GumboElement& e, const char* name) {
    return gumbo_get_attribute(&e.attributes, name) != nullptr;
}

struct Declaration {
    QString property; // lower case
    QString value;    // lower case, trimmed
};

QList<Declaration> declarations(const QString& style) {
    QList<Declaration> list;
    for (const QStringView part : QStringView(style).split(u';')) {
        const qsizetype colon = part.indexOf(u':');
        if (colon <= 0)
            continue;
        QString value = part.sliced(colon + 1).trimmed().toString().toLower();
        value.remove(QLatin1String("!important"));
        list.append({part.first(colon).trimmed().toString().toLower(), value.trimmed()});
    }
    return list;
}

// The colours a page is likely to name; others are left out.
std::optional<QString> namedColor(const QString& name) {
    static const std::array<std::pair<const char*, const char*>, 28> kNames = {{
        {"black", "#000000"},    {"white", "#ffffff"},     {"red", "#ff0000"},
        {"green", "#008000"},    {"blue", "#0000ff"},      {"yellow", "#ffff00"},
        {"gray", "#808080"},     {"grey", "#808080"},      {"silver", "#c0c0c0"},
        {"maroon", "#800000"},   {"purple", "#800080"},    {"fuchsia", "#ff00ff"},
        {"magenta", "#ff00ff"},  {"lime", "#00ff00"},      {"olive", "#808000"},
        {"navy", "#000080"},     {"teal", "#008080"},      {"aqua", "#00ffff"},
        {"cyan", "#00ffff"},     {"orange", "#ffa500"},    {"brown", "#a52a2a"},
        {"pink", "#ffc0cb"},     {"violet", "#ee82ee"},    {"darkred", "#8b0000"},
        {"darkblue", "#00008b"}, {"darkgreen", "#006400"}, {"gold", "#ffd700"},
        {"indigo", "#4b0082"},
    }};
    for (const auto& [n, hex] : kNames)
        if (name == QLatin1String(n))
            return QString::fromLatin1(hex);
    return std::nullopt;
}

// "#rrggbb" in lower case, or nothing for a colour that cannot be read.
std::optional<QString> cssColor(const QString& raw) {
    const QString value = raw.trimmed().toLower();
    static const QRegularExpression hex(QStringLiteral("^#([0-9a-f]{3}|[0-9a-f]{6})$"));
    if (hex.match(value).hasMatch()) {
        if (value.size() == 7)
            return value;
        QString full(QStringLiteral("#"));
        for (qsizetype i = 1; i < 4; ++i)
            full += QString(2, value[i]);
        return full;
    }
    static const QRegularExpression rgb(QStringLiteral(
        "^rgba?\\(\\s*(\\d{1,3})[\\s,]+(\\d{1,3})[\\s,]+(\\d{1,3})\\s*([,/].*)?\\)$"));
    const QRegularExpressionMatch m = rgb.match(value);
    if (m.hasMatch()) {
        QString full(QStringLiteral("#"));
        for (int k = 1; k <= 3; ++k)
            full += QStringLiteral("%1").arg(std::min(m.captured(k).toInt(), 255), 2, 16,
                                             QLatin1Char('0'));
        return full;
    }
    return namedColor(value);
}

// Percent of the normal size (16 px, 12 pt), or nothing.
std::optional<int> cssSize(const QString& raw) {
    const QString value = raw.trimmed().toLower();
    static const std::array<std::pair<const char*, int>, 7> kKeywords = {{{"xx-small", 56},
                                                                          {"x-small", 63},
                                                                          {"small", 81},
                                                                          {"medium", 100},
                                                                          {"large", 113},
                                                                          {"x-large", 150},
                                                                          {"xx-large", 200}}};
    for (const auto& [word, percent] : kKeywords)
        if (value == QLatin1String(word))
            return percent;
    static const QRegularExpression number(QStringLiteral("^(\\d+(?:\\.\\d+)?)(px|pt|em|rem|%)$"));
    const QRegularExpressionMatch m = number.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    const double n = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    double percent = n;
    if (unit == QLatin1String("px"))
        percent = n * 100 / 16;
    else if (unit == QLatin1String("pt"))
        percent = n * 100 / 12;
    else if (unit != QLatin1String("%"))
        percent = n * 100;
    return std::clamp(int(std::lround(percent)), 50, 200);
}

// <font size="1".."7">
std::optional<int> fontElementSize(const QString& raw) {
    static constexpr std::array<int, 7> kPercents = {63, 81, 100, 113, 150, 200, 200};
    bool ok = false;
    const int n = raw.trimmed().toInt(&ok);
    if (!ok || n < 1)
        return std::nullopt;
    return kPercents[size_t(std::min(n, 7) - 1)];
}

// An address a forum shows: http(s) and ftp with a host, resolved against the page; brackets
// encoded, since a tag's parameter ends at the first ']'.
std::optional<QString> webAddress(const QString& raw, const QUrl& base) {
    QUrl url(raw.trimmed());
    if (!url.isValid())
        return std::nullopt;
    if (url.isRelative()) {
        if (!base.isValid() || base.isRelative())
            return std::nullopt;
        url = base.resolved(url);
    }
    const QString scheme = url.scheme().toLower();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
         scheme != QLatin1String("ftp")) ||
        url.host().isEmpty())
        return std::nullopt;
    QString address = QString::fromUtf8(url.toEncoded(QUrl::FullyEncoded));
    address.replace(u'[', QLatin1String("%5B")).replace(u']', QLatin1String("%5D"));
    return address;
}

std::optional<QString> emailAddress(const QString& raw) {
    if (!raw.trimmed().startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return std::nullopt;
    QString address = QUrl::fromPercentEncoding(raw.trimmed().sliced(7).toUtf8());
    address = address.left(address.indexOf(u'?')).trimmed();
    static const QRegularExpression valid(QStringLiteral(
        "^[^\\s@\"'<>\\[\\]\\\\]+@[^\\s@\"'<>\\[\\]\\\\.]+(\\.[^\\s@\"'<>\\[\\]\\\\.]+)+$"));
    if (!valid.match(address).hasMatch())
        return std::nullopt;
    return address;
}

bool isCollapsible(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == 0xa0;
}

enum Style : quint8 { kBold, kItalic, kUnderline, kStrike, kColor, kSize, kStyleCount };
constexpr std::array<const char*, kStyleCount> kStyleTags = {"B", "I", "U", "S", "COLOR", "SIZE"};

// What an element does, undone when it is left.
struct Frame {
    explicit Frame(const GumboNode* n) : node(n) {}
    const GumboNode* node;
    unsigned child = 0;
    quint8 pushed = 0; // bit per Style: a value pushed on that style's stack
    bool entered = false;
    bool cell = false;
    int breakAround = 0; // line breaks wanted before and after: 1 a line, 2 a blank line
    enum class Close : quint8 {
        None,
        Quote,
        List,
        Code,
        Link,
        Email,
        Item,
        Cell
    } close = Close::None;
    qsizetype linkStart = 0;
    qsizetype linkText = 0;
    QString address;
};

class Writer {
public:
    Writer(const Options& options, const QUrl& base) : m_options(options), m_base(base) {}

    Conversion run(const GumboNode* root) {
        std::vector<Frame> stack;
        stack.emplace_back(root);
        while (!stack.empty()) {
            Frame& f = stack.back();
            ++m_steps;
            if (!f.entered) {
                f.entered = true;
                if (!enter(f)) {
                    stack.pop_back();
                    continue;
                }
            }
            const GumboVector* children = childrenOf(f.node);
            if (children != nullptr && f.child < children->length) {
                const auto* child = static_cast<const GumboNode*>(children->data[f.child++]);
                if (f.node->type == GUMBO_NODE_ELEMENT && m_wordListParent == f.node &&
                    !continuesWordList(child))
                    closeWordLists();
                stack.emplace_back(child);
                continue;
            }
            leave(f);
            stack.pop_back();
        }
        closeWordLists();
        closeInline();
        while (!m_out.isEmpty() && (m_out.back() == u'\n' || m_out.back() == u' '))
            m_out.chop(1);
        return {m_out, m_nodes, m_steps};
    }

private:
    static const GumboVector* childrenOf(const GumboNode* n) {
        if (n->type == GUMBO_NODE_DOCUMENT)
            return &n->v.document.children;
        if (n->type == GUMBO_NODE_ELEMENT)
            return &n->v.element.children;
        return nullptr;
    }

    // False: skip the node and what it holds.
    bool enter(Frame& f) {
        const GumboNode* n = f.node;
        ++m_nodes;
        switch (n->type) {
        case GUMBO_NODE_DOCUMENT:
            return true;
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_CDATA:
        case GUMBO_NODE_WHITESPACE:
            text(QString::fromUtf8(n->v.text.text));
            return false;
        case GUMBO_NODE_ELEMENT:
            return enterElement(f, n->v.element);
        default: // comments, templates
            return false;
        }
    }

    bool enterElement(Frame& f, const GumboElement& e) {
        const QString style = attribute(e, "style");
        const QList<Declaration> css = declarations(style);
        if (hasAttribute(e, "hidden") || m_skip.contains(f.node))
            return false;
        for (const Declaration& d : css)
            if ((d.property == QLatin1String("display") && d.value == QLatin1String("none")) ||
                (d.property == QLatin1String("mso-list") && d.value == QLatin1String("ignore")))
                return false;
        if (m_code > 0) {
            if (e.tag == GUMBO_TAG_BR || e.tag == GUMBO_TAG_P || e.tag == GUMBO_TAG_DIV)
                m_out += u'\n';
            return true;
        }
        switch (e.tag) {
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_TITLE:
        case GUMBO_TAG_TEMPLATE:
        case GUMBO_TAG_NOSCRIPT:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_OBJECT:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_TEXTAREA:
            return false;
        case GUMBO_TAG_BR:
            closeInline();
            ++m_breaks;
            m_space = false;
            return false;
        case GUMBO_TAG_IMG:
            image(attribute(e, "src"));
            return false;
        case GUMBO_TAG_B:
        case GUMBO_TAG_STRONG:
            push(f, kBold, QStringLiteral("1"));
            break;
        case GUMBO_TAG_I:
        case GUMBO_TAG_EM:
        case GUMBO_TAG_CITE:
        case GUMBO_TAG_VAR:
            push(f, kItalic, QStringLiteral("1"));
            break;
        case GUMBO_TAG_U:
        case GUMBO_TAG_INS:
            push(f, kUnderline, QStringLiteral("1"));
            break;
        case GUMBO_TAG_S:
        case GUMBO_TAG_STRIKE:
        case GUMBO_TAG_DEL:
            push(f, kStrike, QStringLiteral("1"));
            break;
        case GUMBO_TAG_H1:
        case GUMBO_TAG_H2:
        case GUMBO_TAG_H3:
        case GUMBO_TAG_H4:
        case GUMBO_TAG_H5:
        case GUMBO_TAG_H6:
            push(f, kBold, QStringLiteral("1"));
            f.breakAround = 2;
            break;
        case GUMBO_TAG_FONT:
            if (m_options.colorsAndSizes) {
                if (const auto c = cssColor(attribute(e, "color")))
                    pushColor(f, *c);
                if (const auto s = fontElementSize(attribute(e, "size")))
                    pushSize(f, *s);
            }
            break;
        case GUMBO_TAG_A:
            link(f, attribute(e, "href"));
            break;
        case GUMBO_TAG_BLOCKQUOTE:
            f.breakAround = 2;
            m_breaks = std::max(m_breaks, 2);
            block(QStringLiteral("[QUOTE") + quoteAuthor(f.node) + u']');
            f.close = Frame::Close::Quote;
            break;
        case GUMBO_TAG_PRE:
            f.breakAround = 2;
            m_breaks = std::max(m_breaks, 2);
            codeBlock(f);
            break;
        case GUMBO_TAG_CODE:
            if (isBlockContainer(f.node->parent)) {
                f.breakAround = 1;
                codeBlock(f);
            }
            break;
        case GUMBO_TAG_UL:
        case GUMBO_TAG_OL:
            closeWordLists();
            f.breakAround = m_lists == 0 ? 2 : 1;
            m_breaks = std::max(m_breaks, f.breakAround);
            block(e.tag == GUMBO_TAG_OL ? QStringLiteral("[LIST=1]") : QStringLiteral("[LIST]"));
            ++m_lists;
            f.close = Frame::Close::List;
            break;
        case GUMBO_TAG_LI:
            if (m_lists > 0)
                item();
            else
                f.breakAround = 1;
            break;
        case GUMBO_TAG_TABLE:
            f.breakAround = 2;
            break;
        case GUMBO_TAG_TR:
            f.breakAround = 1;
            m_cells.push_back(0);
            break;
        case GUMBO_TAG_TD:
        case GUMBO_TAG_TH:
            if (!m_cells.empty() && m_cells.back()++ > 0) {
                closeInline();
                flushBreaks();
                m_out += QLatin1String(" |");
                m_space = true;
                m_lineStart = false;
            }
            break;
        case GUMBO_TAG_P:
            if (wordListItem(f, e, css))
                break;
            f.breakAround = 2;
            break;
        case GUMBO_TAG_DIV:
        case GUMBO_TAG_SECTION:
        case GUMBO_TAG_ARTICLE:
        case GUMBO_TAG_HEADER:
        case GUMBO_TAG_FOOTER:
        case GUMBO_TAG_NAV:
        case GUMBO_TAG_ASIDE:
        case GUMBO_TAG_MAIN:
        case GUMBO_TAG_FIGURE:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_CAPTION:
            f.breakAround = 1;
            break;
        case GUMBO_TAG_DL:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_ADDRESS:
            f.breakAround = 2;
            break;
        default:
            break;
        }
        for (const Declaration& d : css)
            applyCss(f, d);
        // A cell stays on its row's line; a list item's paragraphs are not spaced apart.
        if (m_inCell > 0 && e.tag != GUMBO_TAG_TR && e.tag != GUMBO_TAG_TABLE)
            f.breakAround = 0;
        else if (m_lists > 0 && f.breakAround > 1 && f.close != Frame::Close::List)
            f.breakAround = 1;
        if (e.tag == GUMBO_TAG_TD || e.tag == GUMBO_TAG_TH) {
            ++m_inCell;
            f.cell = true;
        }
        m_breaks = std::max(m_breaks, f.breakAround);
        return true;
    }

    void leave(Frame& f) {
        leaveFrame(f);
        if (m_wordListParent == nullptr)
            closeOpenWordLists();
    }

    void leaveFrame(Frame& f) {
        // Word's lists end with the element holding them, before the element's own closing tag.
        if (f.node->type == GUMBO_NODE_ELEMENT && m_wordListParent == f.node)
            closeWordLists();
        switch (f.close) {
        case Frame::Close::Quote:
            closeInnerWordLists();
            endBlock(QStringLiteral("[/QUOTE]"), false);
            break;
        case Frame::Close::List:
            closeInnerWordLists();
            --m_lists;
            endBlock(QStringLiteral("[/LIST]"), true);
            break;
        case Frame::Close::Code:
            closeInnerWordLists();
            --m_code;
            while (m_out.endsWith(u'\n'))
                m_out.chop(1);
            m_out += QLatin1String("[/CODE]");
            if (!m_blocks.empty())
                m_blocks.pop_back();
            m_lineStart = false;
            m_afterTag = false;
            m_breaks = 1;
            break;
        case Frame::Close::Item:
            m_wordItem = nullptr;
            break;
        case Frame::Close::Link:
        case Frame::Close::Email:
            endLink(f);
            break;
        default:
            break;
        }
        for (int s = 0; s < kStyleCount; ++s)
            if ((f.pushed & (1u << s)) != 0)
                m_styles[size_t(s)].pop_back();
        if (f.cell)
            --m_inCell;
        if (f.node->type == GUMBO_NODE_ELEMENT && f.node->v.element.tag == GUMBO_TAG_TR &&
            !m_cells.empty())
            m_cells.pop_back();
        m_breaks = std::max(m_breaks, f.breakAround);
    }

    void push(Frame& f, Style s, const QString& value) {
        if ((f.pushed & (1u << s)) != 0)
            m_styles[size_t(s)].back() = value;
        else
            m_styles[size_t(s)].push_back(value);
        f.pushed = quint8(f.pushed | (1u << s));
    }

    void pushColor(Frame& f, const QString& color) {
        push(f, kColor, color == QLatin1String("#000000") ? QString() : color);
    }

    void pushSize(Frame& f, int percent) {
        push(f, kSize, percent == 100 ? QString() : QString::number(percent));
    }

    void applyCss(Frame& f, const Declaration& d) {
        const QString& v = d.value;
        if (d.property == QLatin1String("font-weight")) {
            bool number = false;
            const int weight = v.toInt(&number);
            if (v == QLatin1String("bold") || v == QLatin1String("bolder") ||
                (number && weight >= 600))
                push(f, kBold, QStringLiteral("1"));
            else if (v == QLatin1String("normal") || v == QLatin1String("lighter") || number)
                push(f, kBold, QString());
        } else if (d.property == QLatin1String("font-style")) {
            if (v.startsWith(QLatin1String("italic")) || v.startsWith(QLatin1String("oblique")))
                push(f, kItalic, QStringLiteral("1"));
            else if (v == QLatin1String("normal"))
                push(f, kItalic, QString());
        } else if (d.property == QLatin1String("text-decoration") ||
                   d.property == QLatin1String("text-decoration-line")) {
            if (v.contains(QLatin1String("underline")))
                push(f, kUnderline, QStringLiteral("1"));
            if (v.contains(QLatin1String("line-through")))
                push(f, kStrike, QStringLiteral("1"));
            if (v.startsWith(QLatin1String("none"))) {
                push(f, kUnderline, QString());
                push(f, kStrike, QString());
            }
        } else if (m_options.colorsAndSizes && d.property == QLatin1String("color")) {
            if (const auto c = cssColor(v))
                pushColor(f, *c);
        } else if (m_options.colorsAndSizes && d.property == QLatin1String("font-size")) {
            if (const auto s = cssSize(v))
                pushSize(f, *s);
        }
    }

    QString desired(size_t s) const { return m_styles[s].empty() ? QString() : m_styles[s].back(); }

    static QString openTag(size_t s, const QString& value) {
        const QString name = QLatin1String(kStyleTags[s]);
        return s >= kColor ? u'[' + name + u'=' + value + u']' : u'[' + name + u']';
    }

    // Closes the open styles that are no longer wanted (and those opened after them), writes
    // a pending blank, then opens what is wanted: tags are opened only for text, never twice.
    void syncInline() {
        qsizetype keep = 0;
        while (keep < m_open.size() && desired(m_open[keep].first) == m_open[keep].second)
            ++keep;
        while (m_open.size() > keep) {
            m_out += QLatin1String("[/") + QLatin1String(kStyleTags[m_open.back().first]) + u']';
            m_open.pop_back();
        }
        if (m_space && !m_lineStart)
            m_out += u' ';
        m_space = false;
        for (size_t s = 0; s < kStyleCount; ++s) {
            const QString want = desired(s);
            if (want.isEmpty() || std::any_of(m_open.cbegin(), m_open.cend(),
                                              [&](const auto& o) { return o.first == s; }))
                continue;
            m_out += openTag(s, want);
            m_open.append({s, want});
        }
    }

    void closeInline() {
        while (!m_open.isEmpty()) {
            m_out += QLatin1String("[/") + QLatin1String(kStyleTags[m_open.back().first]) + u']';
            m_open.pop_back();
        }
    }

    void flushBreaks() {
        if (m_breaks > 0 && !m_out.isEmpty() && !m_afterTag) {
            closeInline();
            m_out += QString(m_breaks, u'\n');
            m_lineStart = true;
            m_space = false;
        }
        m_breaks = 0;
    }

    void text(const QString& t) {
        m_steps += t.size();
        m_nodes += t.size();
        if (m_code > 0) {
            m_out += t;
            return;
        }
        qsizetype i = 0;
        while (i < t.size()) {
            if (isCollapsible(t[i].unicode())) {
                m_space = true;
                ++i;
                continue;
            }
            qsizetype j = i;
            while (j < t.size() && !isCollapsible(t[j].unicode()))
                ++j;
            if (m_wordListParent != nullptr && m_wordItem == nullptr)
                closeWordLists();
            flushBreaks();
            syncInline();
            m_out += QStringView(t).sliced(i, j - i);
            m_lineStart = false;
            m_afterTag = false;
            i = j;
        }
    }

    // A structural tag on a line of its own; what follows starts right after it.
    void block(const QString& tag, bool wordList = false) {
        m_blocks.push_back(wordList);
        closeInline();
        if (m_afterTag)
            m_breaks = 1; // the breaks wanted around a block do not follow an opening tag
        else if (!m_out.isEmpty())
            m_breaks = std::max(m_breaks, 1);
        m_afterTag = false;
        flushBreaks();
        m_out += tag;
        m_space = false;
        m_lineStart = true;
        m_afterTag = true;
    }

    void endBlock(const QString& tag, bool ownLine) {
        if (!m_blocks.empty())
            m_blocks.pop_back();
        closeInline();
        m_breaks = 0;
        m_space = false;
        if (ownLine && !m_lineStart)
            m_out += u'\n';
        m_out += tag;
        m_lineStart = false;
        m_afterTag = false;
        m_breaks = 1;
    }

    void item() {
        closeInline();
        m_breaks = 0;
        if (!m_lineStart || m_afterTag)
            m_out += u'\n';
        m_out += QLatin1String("[*]");
        m_space = false;
        m_lineStart = true;
        m_afterTag = true;
    }

    void codeBlock(Frame& f) {
        block(QStringLiteral("[CODE]"));
        ++m_code;
        f.close = Frame::Close::Code;
    }

    static bool isBlockContainer(const GumboNode* parent) {
        if (parent == nullptr || parent->type != GUMBO_NODE_ELEMENT)
            return false;
        switch (parent->v.element.tag) {
        case GUMBO_TAG_BODY:
        case GUMBO_TAG_DIV:
        case GUMBO_TAG_TD:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_BLOCKQUOTE:
        case GUMBO_TAG_SECTION:
        case GUMBO_TAG_ARTICLE:
            return true;
        default:
            return false;
        }
    }

    void link(Frame& f, const QString& href) {
        if (m_links > 0)
            return;
        std::optional<QString> address = emailAddress(href);
        f.close = Frame::Close::Email;
        if (!address) {
            address = webAddress(href, m_base);
            f.close = Frame::Close::Link;
        }
        if (!address) {
            f.close = Frame::Close::None;
            return;
        }
        ++m_links;
        m_blocks.push_back(false); // a Word list must not close inside it
        closeInline();
        flushBreaks();
        if (m_space && !m_lineStart)
            m_out += u' ';
        m_space = false;
        f.address = *address;
        f.linkStart = m_out.size();
        m_out +=
            (f.close == Frame::Close::Email ? QLatin1String("[EMAIL=") : QLatin1String("[URL=")) +
            f.address + u']';
        f.linkText = m_out.size();
        m_lineStart = false;
        m_afterTag = false;
    }

    void endLink(Frame& f) {
        closeInnerWordLists();
        if (!m_blocks.empty())
            m_blocks.pop_back();
        --m_links;
        closeInline();
        const bool email = f.close == Frame::Close::Email;
        const QString text = m_out.sliced(f.linkText);
        const QString name = email ? QStringLiteral("EMAIL") : QStringLiteral("URL");
        if (text.trimmed().isEmpty()) {
            m_out.truncate(f.linkStart);
        } else if (text == f.address || QUrl(text).toString(QUrl::FullyEncoded) == f.address ||
                   QUrl(text) == QUrl(f.address)) {
            m_out.truncate(f.linkStart);
            m_out += u'[' + name + u']' + f.address + QLatin1String("[/") + name + u']';
        } else {
            m_out += QLatin1String("[/") + name + u']';
        }
    }

    void image(const QString& src) {
        const std::optional<QString> address = webAddress(src, m_base);
        if (!address)
            return;
        closeInline();
        flushBreaks();
        if (m_space && !m_lineStart)
            m_out += u' ';
        m_space = false;
        m_out += QLatin1String("[IMG]") + *address + QLatin1String("[/IMG]");
        m_lineStart = false;
        m_afterTag = false;
    }

    // The author a quote names: its cite attribute when that is no address, or a <cite> at its
    // beginning (as forums write "Anna hat geschrieben:"), which is then left out.
    QString quoteAuthor(const GumboNode* quote) {
        QString name = attribute(quote->v.element, "cite");
        if (name.contains(u':') || name.contains(u'/'))
            name.clear();
        const GumboNode* n = quote;
        for (int depth = 0; name.isEmpty() && depth < 4 && n != nullptr; ++depth) {
            const GumboVector& children = n->v.element.children;
            const GumboNode* next = nullptr;
            for (unsigned k = 0; k < children.length && next == nullptr; ++k) {
                const auto* c = static_cast<const GumboNode*>(children.data[k]);
                if (c->type == GUMBO_NODE_ELEMENT)
                    next = c;
                else if (c->type == GUMBO_NODE_TEXT)
                    break;
            }
            if (next == nullptr)
                break;
            if (next->v.element.tag == GUMBO_TAG_CITE) {
                name = plainText(next);
                m_skip.insert(next);
                break;
            }
            n = next;
        }
        static const QRegularExpression said(
            QStringLiteral("\\s*(hat geschrieben|schrieb|wrote|said)?\\s*:?\\s*$"),
            QRegularExpression::CaseInsensitiveOption);
        name.remove(said);
        name.remove(u'[').remove(u']').remove(u'"');
        name = name.simplified().left(100);
        return name.isEmpty() ? QString() : QLatin1String("=\"") + name + u'"';
    }

    // The text of a small element (a cite, a Word bullet).
    static QString plainText(const GumboNode* node) {
        QString out;
        std::vector<const GumboNode*> todo{node};
        for (int budget = 64; !todo.empty() && budget > 0; --budget) {
            const GumboNode* n = todo.back();
            todo.pop_back();
            if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE)
                out += QString::fromUtf8(n->v.text.text);
            else if (n->type == GUMBO_NODE_ELEMENT)
                for (unsigned k = n->v.element.children.length; k-- > 0;)
                    todo.push_back(static_cast<const GumboNode*>(n->v.element.children.data[k]));
        }
        return out;
    }

    // Word's and LibreOffice's list paragraphs: "mso-list:l0 level2 lfo1", the bullet or number
    // in a span marked "mso-list:Ignore".
    static int wordListLevel(const QList<Declaration>& css) {
        static const QRegularExpression level(QStringLiteral("\\blevel(\\d+)"));
        for (const Declaration& d : css)
            if (d.property == QLatin1String("mso-list") && d.value != QLatin1String("ignore")) {
                const QRegularExpressionMatch m = level.match(d.value);
                return m.hasMatch() ? std::clamp(m.captured(1).toInt(), 1, 9) : 1;
            }
        return 0;
    }

    static bool continuesWordList(const GumboNode* n) {
        if (n->type == GUMBO_NODE_WHITESPACE || n->type == GUMBO_NODE_COMMENT)
            return true;
        return n->type == GUMBO_NODE_ELEMENT && n->v.element.tag == GUMBO_TAG_P &&
               wordListLevel(declarations(attribute(n->v.element, "style"))) > 0;
    }

    bool wordListItem(Frame& f, const GumboElement& e, const QList<Declaration>& css) {
        const int level = wordListLevel(css);
        if (level == 0 || m_lists > qsizetype(m_wordLists.size()))
            return false;
        // A list paragraph deeper inside what an open Word list holds (in a quote, say) is a
        // plain paragraph: closing the outer list there would cross the tags opened since.
        if (!m_wordLists.empty() && m_wordListParent != f.node->parent)
            return false;
        // Going up a level closes lists; a block opened inside the last item (a quote) would
        // cross them.
        if (qsizetype(m_wordLists.size()) > level && !(m_blocks.empty() || m_blocks.back()))
            return false;
        m_wordListParent = f.node->parent;
        while (qsizetype(m_wordLists.size()) > level) {
            --m_lists;
            endBlock(QStringLiteral("[/LIST]"), true);
            m_wordLists.pop_back();
        }
        if (qsizetype(m_wordLists.size()) < level) {
            static const QRegularExpression number(QStringLiteral("^\\(?[0-9a-zA-Z]{1,4}[.)]$"));
            const bool ordered = number.match(bulletOf(e).simplified()).hasMatch();
            while (qsizetype(m_wordLists.size()) < level) {
                if (m_wordLists.empty() && !m_afterTag)
                    m_breaks = std::max(m_breaks, 2);
                block(ordered ? QStringLiteral("[LIST=1]") : QStringLiteral("[LIST]"), true);
                ++m_lists;
                m_wordLists.push_back(ordered);
            }
        }
        item();
        m_wordItem = f.node;
        f.close = Frame::Close::Item;
        return true;
    }

    // The text of the first "mso-list:Ignore" span, found near the paragraph's beginning.
    static QString bulletOf(const GumboElement& e) {
        std::vector<const GumboNode*> todo;
        for (unsigned k = e.children.length; k-- > 0;)
            todo.push_back(static_cast<const GumboNode*>(e.children.data[k]));
        for (int budget = 32; !todo.empty() && budget > 0; --budget) {
            const GumboNode* n = todo.back();
            todo.pop_back();
            if (n->type != GUMBO_NODE_ELEMENT)
                continue;
            const QString style = attribute(n->v.element, "style").toLower();
            if (style.contains(QLatin1String("mso-list")) &&
                style.contains(QLatin1String("ignore")))
                return plainText(n);
            for (unsigned k = n->v.element.children.length; k-- > 0;)
                todo.push_back(static_cast<const GumboNode*>(n->v.element.children.data[k]));
        }
        return {};
    }

    void closeWordLists() {
        m_wordListParent = nullptr;
        m_wordItem = nullptr;
        closeOpenWordLists();
    }

    // Word lists opened inside a block that ends now end with it.
    void closeInnerWordLists() {
        if (m_blocks.empty() || !m_blocks.back())
            return;
        m_wordListParent = nullptr;
        m_wordItem = nullptr;
        closeOpenWordLists();
    }

    // Word's lists close as far as no other block opened since is still open; the rest close
    // right after that block, so that no tags cross.
    void closeOpenWordLists() {
        while (!m_wordLists.empty() && !m_blocks.empty() && m_blocks.back()) {
            --m_lists;
            endBlock(QStringLiteral("[/LIST]"), true);
            m_wordLists.pop_back();
        }
    }

    const Options& m_options;
    const QUrl m_base;
    QString m_out;
    std::array<std::vector<QString>, kStyleCount> m_styles;
    QList<std::pair<size_t, QString>> m_open; // the style tags written and not yet closed
    std::vector<int> m_cells;                 // cells so far in each open table row
    std::vector<bool> m_wordLists;            // Word's lists open: ordered or not
    std::vector<bool> m_blocks;               // the blocks open: a Word list or another
    const GumboNode* m_wordListParent = nullptr;
    const GumboNode* m_wordItem = nullptr;
    std::unordered_set<const GumboNode*> m_skip;
    int m_breaks = 0;
    bool m_space = false;
    bool m_lineStart = true;
    bool m_afterTag = false; // just after a block tag or [*]: line breaks wanted are dropped
    int m_lists = 0;
    int m_inCell = 0;
    int m_links = 0;
    int m_code = 0;
    qsizetype m_nodes = 0;
    qsizetype m_steps = 0;
};

} // namespace

Conversion convert(const QString& html, const Options& options, const QString& baseUrl) {
    const QByteArray utf8 = html.toUtf8();
    Arena arena;
    GumboOptions gumboOptions = kGumboDefaultOptions;
    gumboOptions.allocator = &Arena::allocate;
    gumboOptions.deallocator = &Arena::deallocate;
    gumboOptions.userdata = &arena;
    gumboOptions.max_errors = 0;
    GumboOutput* output =
        gumbo_parse_with_options(&gumboOptions, utf8.constData(), size_t(utf8.size()));
    Writer writer(options, QUrl(baseUrl));
    return writer.run(output->document);
}

QString toBBCode(const QString& html, const Options& options, const QString& baseUrl) {
    return convert(html, options, baseUrl).text;
}

} // namespace htmlpaste
