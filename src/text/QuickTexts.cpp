#include "text/QuickTexts.h"

#include "text/EditBuffer.h"

namespace quicktexts {

QString fileName(int n) {
    return QStringLiteral("user%1.txt").arg(n);
}

std::array<QString, 3> separators() {
    return {QString(112, u'-'), QString(63, u'='), QString(90, u'*')};
}

QString comboEntry(int k, const QString& text) {
    static const char* const separatorEntries[] = {"------", "======", "******"};
    if (k >= kCount)
        return QString::fromLatin1(separatorEntries[k - kCount]);
    qsizetype shown = std::min<qsizetype>(text.size(), 15);
    if (shown > 0 && text[shown - 1].isHighSurrogate())
        --shown; // never show half a character
    return QString::number(k) + QLatin1Char(' ') + text.left(shown);
}

void insert(EditBuffer& buffer, const QString& text) {
    replaceSelection(buffer, text);
}

} // namespace quicktexts
