#include "text/TagPrimitives.h"

#include "text/EditBuffer.h"

QString strBuildTag(const QString& strText, const QString& strTag, const QString& strParam) {
    QString open = strParam.isEmpty()
                       ? QStringLiteral("[%1]").arg(strTag)
                       : QLatin1Char('[') + strTag + QLatin1Char('=') + strParam + QLatin1Char(']');
    return open + strText + QStringLiteral("[/") + strTag + QLatin1Char(']');
}

QString strReplaceRange(const QString& strText, const QString& strInsert, qint64 lngPos,
                        qint64 lngLen) {
    const qint64 n = strText.size();
    if (lngPos < 1 || lngPos > n + 1)
        return strText;
    QString result = strText.left(lngPos - 1) + strInsert;
    const qint64 rest = lngPos + std::max<qint64>(lngLen, 0);
    if (rest <= n)
        result += QStringView(strText).mid(rest - 1);
    return result;
}

void WrapSelection(EditBuffer& buffer, const QString& strTag, const QString& strParam,
                   CaretRule rule) {
    const QString sel = buffer.SelText();
    const int s = buffer.SelStart();
    if (sel.isEmpty()) {
        const QString tag = strBuildTag(QString(), strTag, strParam);
        buffer.ReplaceRange(tag, s + 1, 0);
        const int openLength =
            strParam.isEmpty() ? 2 + int(strTag.size()) : 3 + int(strTag.size() + strParam.size());
        buffer.setSelStart(rule == CaretRule::BetweenTags ? s + openLength : s + int(tag.size()));
        buffer.SetFocus();
    } else {
        const QString tag = strBuildTag(sel, strTag, strParam);
        buffer.ReplaceRange(tag, s + 1, buffer.SelLength());
        buffer.SetFocus();
        buffer.setSelStart(s + int(tag.size()));
    }
}
