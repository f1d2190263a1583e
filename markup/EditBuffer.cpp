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

QByteArray fileBytes(QStringView widgetText) {
    QByteArray out;
    out.reserve(widgetText.size() + widgetText.size() / 8 + 2);
    qsizetype from = 0;
    for (qsizetype at; (at = widgetText.indexOf(QChar::ParagraphSeparator, from)) >= 0;
         from = at + 1) {
        out += widgetText.sliced(from, at - from).toUtf8();
        out += "\r\n";
    }
    out += widgetText.sliced(from).toUtf8();
    out += "\r\n";
    return out;
}
