#include "markup/EditBuffer.h"

#include "markup/TagPrimitives.h"

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
