#include "text/Drafts.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace drafts {

namespace {
const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");
}

QString fileName(const QDateTime& start, qint64 pid) {
    return QStringLiteral("%1_%2.txt").arg(start.toLocalTime().toString(kStampFormat)).arg(pid);
}

NameParts parseName(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})_([1-9]\\d{0,9})\\.txt$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return {};
    NameParts parts;
    parts.start = QDateTime::fromString(match.captured(1), kStampFormat);
    parts.pid = match.captured(2).toLongLong();
    parts.ok = parts.start.isValid() && parts.pid <= 0x7fffffff;
    return parts;
}

void sortNewestFirst(QList<Draft>& drafts) {
    std::sort(drafts.begin(), drafts.end(), [](const Draft& a, const Draft& b) {
        if (a.written != b.written)
            return a.written > b.written;
        return a.name > b.name;
    });
}

QStringList toRemove(QList<Draft> drafts, const QDateTime& now, const Retention& rules) {
    sortNewestFirst(drafts);
    QStringList removed;
    QList<bool> gone(drafts.size(), false);
    const QDateTime oldest = now.addDays(-rules.maxAgeDays);
    qint64 total = 0;
    for (qsizetype i = 0; i < drafts.size(); ++i) {
        const Draft& draft = drafts[i];
        if (!draft.running && i >= rules.keepNewest && draft.written < oldest) {
            gone[i] = true;
            removed << draft.name;
        } else {
            total += draft.size;
        }
    }
    for (qsizetype i = drafts.size() - 1; i >= 0 && total > rules.maxTotalBytes; --i) {
        if (gone[i] || drafts[i].running)
            continue;
        total -= drafts[i].size;
        removed << drafts[i].name;
    }
    return removed;
}

QString firstLine(QStringView text, int maxLength) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r' &&
               text[end] != QChar::ParagraphSeparator)
            ++end;
        const QString line = text.mid(start, end - start).toString().simplified();
        if (!line.isEmpty()) {
            if (line.size() <= maxLength)
                return line;
            // Not between the halves of a surrogate pair.
            qsizetype cut = maxLength;
            if (line[cut - 1].isHighSurrogate())
                --cut;
            return line.left(cut) + QChar(0x2026);
        }
        start = end + 1;
    }
    return QString();
}

qint64 characterCount(QByteArrayView bytes) {
    qsizetype size = bytes.size();
    if (bytes.endsWith("\r\n"))
        size -= 2;
    qint64 count = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        // Continuation bytes and the CR of a break are no characters of their own.
        if ((byte & 0xC0) != 0x80 && !(byte == '\r' && i + 1 < size && bytes[i + 1] == '\n'))
            ++count;
    }
    return count;
}

QString rowHeading(const QDateTime& written, qint64 characters) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const QDateTime local = written.toLocalTime();
    QString row = german.toString(local, QStringLiteral("ddd dd.MM.yyyy HH:mm"));
    if (characters >= 0)
        row += QStringLiteral(" · %1 Zeichen").arg(german.toString(characters));
    return row;
}

} // namespace drafts
