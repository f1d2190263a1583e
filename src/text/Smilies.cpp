#include "text/Smilies.h"

#include "text/EditBuffer.h"
#include "text/ProfileDocument.h"

namespace smilies {

QStringList load(const profile::Document& settings) {
    // One pass over the file serves every key.
    const QHash<QString, QString> values = settings.values(QStringLiteral("SMILIES"));
    QStringList codes;
    for (int n = 1; n <= 32767; ++n) {
        const QString value =
            values.value(QStringLiteral("smiley%1").arg(n, 3, 10, QLatin1Char('0')));
        if (value.isEmpty())
            break;
        if (value.size() >= 2)
            codes << value.mid(1, value.size() - 2);
    }
    return codes;
}

QString framed(const QString& code, bool blankBefore, bool blankAfter) {
    return (blankBefore ? QString() : QStringLiteral(" ")) + QLatin1Char(':') + code +
           QLatin1Char(':') + (blankAfter ? QString() : QStringLiteral(" "));
}

void insert(EditBuffer& buffer, const QString& code) {
    const int p = buffer.SelStart();
    const int length = buffer.SelLength();
    const bool before = p > 0 && buffer.CharAt(p - 1) == u' ';
    const bool after = p + length < buffer.TextLength() && buffer.CharAt(p + length) == u' ';
    const QString inserted = framed(code, before, after);
    buffer.ReplaceRange(inserted, p + 1, length);
    buffer.SetFocus();
    buffer.setSelStart(p + int(inserted.size()));
}

} // namespace smilies
