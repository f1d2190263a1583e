#include "text/ProfileDocument.h"

#include "text/TextDecoding.h"

namespace profile {

namespace {

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlank(s[from]))
        ++from;
    while (to > from && isBlank(s[to - 1]))
        --to;
    return s.sliced(from, to - from);
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(const QString& s) {
    return s.contains(u'\r') || s.contains(u'\n');
}

// Positions in the text: [start, end) is the line without its line end, next is where the
// following line starts (end when the text ends without a line end).
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

Line lineAt(QStringView text, qsizetype start) {
    const char16_t* data = text.utf16();
    const qsizetype size = text.size();
    qsizetype end = start;
    while (end < size && data[end] != u'\r' && data[end] != u'\n')
        ++end;
    qsizetype next = end;
    if (next < size)
        next += (data[next] == u'\r' && next + 1 < size && data[next + 1] == u'\n') ? 2 : 1;
    return Line{start, end, next};
}

qsizetype firstNonBlank(QStringView line) {
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i;
}

// The trimmed name of a section header line; false for any other line.
bool headerName(QStringView line, QStringView* name) {
    const qsizetype open = firstNonBlank(line);
    if (open == line.size() || line[open] != u'[')
        return false;
    const qsizetype close = line.indexOf(u']', open + 1);
    if (close < 0)
        return false;
    *name = trimBlanks(line.sliced(open + 1, close - open - 1));
    return true;
}

// Key and raw value of a key line; false for comments and lines without "=". Header lines and
// "[" lines without "]" must have been ruled out before.
bool keyLine(QStringView line, QStringView* key, QStringView* value) {
    const qsizetype first = firstNonBlank(line);
    if (first == line.size() || line[first] == u';' || line[first] == u'[')
        return false;
    const qsizetype equals = line.indexOf(u'=', first);
    if (equals < 0)
        return false;
    *key = trimBlanks(line.sliced(first, equals - first));
    *value = line.sliced(equals + 1);
    return true;
}

struct Location {
    bool section = false;
    Line lastKey; // last key line of the section, or its header when it has none
    bool key = false;
    Line keyLine;
    QStringView keyName; // as spelled on disk
    QStringView value;   // raw, after the "="
};

// One pass over the lines up to the end of the first section of that name; stops at the first
// key of that name.
Location locate(QStringView text, QStringView section, QStringView key) {
    Location found;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const Line line = lineAt(text, pos);
        pos = line.next;
        const QStringView content = text.sliced(line.start, line.end - line.start);
        QStringView name;
        if (headerName(content, &name)) {
            if (found.section)
                break;
            if (sameName(name, section)) {
                found.section = true;
                found.lastKey = line;
            }
            continue;
        }
        QStringView value;
        if (!found.section || !keyLine(content, &name, &value))
            continue;
        found.lastKey = line;
        if (sameName(name, key)) {
            found.key = true;
            found.keyLine = line;
            found.keyName = name;
            found.value = value;
            break;
        }
    }
    return found;
}

} // namespace

Document Document::fromBytes(const QByteArray& bytes, const QString& fileName) {
    Document doc;
    doc.m_fileName = fileName;
    doc.m_bom = bytes.startsWith(kBom);
    const QByteArray rest = doc.m_bom ? bytes.sliced(kBom.size()) : bytes;
    doc.m_text = textcodec::decodeText(rest);
    // The UTF-8 reading must give back the very bytes. The decoder drops a byte-order mark at
    // its start (a second one is content to keep) and an incomplete sequence at the very end.
    doc.m_utf8 = doc.m_text.toUtf8() == rest;
    if (!doc.m_utf8 && rest.startsWith(kBom)) {
        const QString withBom = QChar(0xFEFF) + doc.m_text;
        doc.m_utf8 = withBom.toUtf8() == rest;
        if (doc.m_utf8)
            doc.m_text = withBom;
    }
    // 0xFF is never UTF-8, so this takes the Windows-1252 path; its character goes again.
    if (!doc.m_utf8 && doc.m_text.size() != rest.size())
        doc.m_text = textcodec::decodeText(rest + '\xFF').chopped(1);
    return doc;
}

// A raw value as a read gives it: trimmed, one pair of quotes dropped, at most kMaxRead long.
static QString readValue(QStringView raw) {
    QStringView value = trimBlanks(raw);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    if (value.size() > kMaxRead)
        value = value.first(value[kMaxRead - 1].isHighSurrogate() ? kMaxRead - 1 : kMaxRead);
    return value.toString();
}

QString Document::value(const QString& section, const QString& key) const {
    const Location found = locate(m_text, trimBlanks(section), trimBlanks(key));
    return found.key ? readValue(found.value) : QString();
}

QHash<QString, QString> Document::values(const QString& section) const {
    const QStringView text(m_text);
    const QStringView wanted = trimBlanks(section);
    QHash<QString, QString> values;
    bool inSection = false;
    for (qsizetype pos = 0; pos < text.size();) {
        const Line line = lineAt(text, pos);
        pos = line.next;
        const QStringView content = text.sliced(line.start, line.end - line.start);
        QStringView name, value;
        if (headerName(content, &name)) {
            if (inSection)
                break; // only the first section of the name counts
            inSection = sameName(name, wanted);
        } else if (inSection && keyLine(content, &name, &value)) {
            const QString folded = name.toString().toCaseFolded();
            if (!values.contains(folded))
                values.insert(folded, readValue(value));
        }
    }
    return values;
}

bool Document::setValue(const QString& section, const QString& key, const QString& value) {
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return false;
    const QStringView sectionName = trimBlanks(section);
    const QStringView keyName = trimBlanks(key);
    const Location found = locate(m_text, sectionName, keyName);
    if (found.key) {
        const QString line = found.keyName.toString() + u'=' + value;
        m_text.replace(found.keyLine.start, found.keyLine.end - found.keyLine.start, line);
    } else if (found.section) {
        QString line = keyName.toString() + u'=' + value + QStringLiteral("\r\n");
        if (found.lastKey.next == found.lastKey.end)
            line.prepend(QStringLiteral("\r\n"));
        m_text.insert(found.lastKey.next, line);
    } else {
        QString lines;
        if (!m_text.isEmpty() && !m_text.endsWith(u'\r') && !m_text.endsWith(u'\n'))
            lines += QStringLiteral("\r\n");
        lines += u'[' + sectionName.toString() + QStringLiteral("]\r\n") + keyName.toString() +
                 u'=' + value + QStringLiteral("\r\n");
        m_text += lines;
    }
    return true;
}

bool Document::removeKey(const QString& section, const QString& key) {
    const Location found = locate(m_text, trimBlanks(section), trimBlanks(key));
    if (!found.key)
        return false;
    m_text.remove(found.keyLine.start, found.keyLine.next - found.keyLine.start);
    return true;
}

QByteArray Document::bytes() const {
    QByteArray out = m_bom ? kBom : QByteArray();
    if (!m_utf8) {
        QByteArray encoded;
        if (textcodec::encodeWindows1252(m_text, &encoded))
            return out + encoded;
        // A character Windows-1252 lacks: the whole file becomes UTF-8 rather than lose it.
    }
    return out + m_text.toUtf8();
}

} // namespace profile
