#include "text/EditBuffer.h"

#include "text/TagPrimitives.h"

#include <cstring>

void EditBuffer::ReplaceRange(const QString& insert, int lngPos, int lngLen) {
    setText(strReplaceRange(Text(), insert, lngPos, lngLen));
}

QString toCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray fileBytes(QStringView widgetText) {
    QByteArray out = widgetText.toUtf8();
    // U+2029 is E2 80 A9 in UTF-8 and CR LF two bytes, so the breaks are replaced in place, each
    // run of text moving down once. memchr finds the lead byte fastest.
    char* data = out.data();
    const qsizetype size = out.size();
    qsizetype read = 0, write = 0;
    const auto keep = [&](qsizetype end) {
        if (write != read)
            std::memmove(data + write, data + read, size_t(end - read));
        write += end - read;
        read = end;
    };
    while (const void* hit = std::memchr(data + read, '\xE2', size_t(size - read))) {
        const qsizetype at = static_cast<const char*>(hit) - data;
        if (at + 2 < size && data[at + 1] == '\x80' && data[at + 2] == '\xA9') {
            keep(at);
            data[write++] = '\r';
            data[write++] = '\n';
            read = at + 3;
        } else {
            keep(at + 1);
        }
    }
    keep(size);
    out.truncate(write);
    return out.append("\r\n");
}

void replaceSelection(EditBuffer& buffer, const QString& text) {
    const int p = buffer.SelStart();
    buffer.ReplaceRange(text, p + 1, buffer.SelLength());
    buffer.setSelStart(p + int(text.size()));
    buffer.SetFocus();
}

QString withoutClosingBreak(QString text) {
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(text.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    return text;
}
