#include "text/NumberReader.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <limits>

namespace {

bool isSkippedInSetting(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The characters that take part in reading: in Setting syntax all blanks are dropped up front,
// which lets every later step treat both syntaxes alike.
QString significantChars(QStringView text, NumberSyntax syntax) {
    QString out;
    if (syntax == NumberSyntax::Setting) {
        out.reserve(text.size());
        for (QChar c : text)
            if (!isSkippedInSetting(c))
                out.append(c);
        return out;
    }
    qsizetype start = 0;
    while (start < text.size() && text[start] == QLatin1Char(' '))
        ++start;
    return text.mid(start).toString();
}

// Digits after "&H" or "&O": a signed number of the smallest width that holds their value, as
// settings files from Windows mean them: up to 0xFFFF 16 bits (&HFFFF is -1), up to 0xFFFFFFFF 32
// bits
// (&H8000000F, a scheme colour, is -2147483633). Leading zeros do not widen. Beyond 32 bits
// there is no value.
double readRadix(QStringView digits, int radix) {
    quint64 value = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        int d;
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (u >= u'a' && u <= u'f')
            d = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            d = u - u'A' + 10;
        else
            break;
        if (d >= radix)
            break;
        value = value * quint64(radix) + quint64(d);
        if (value > 0xFFFFFFFFu)
            return std::numeric_limits<double>::quiet_NaN();
    }
    if (value <= 0xFFFFu)
        return qint16(quint16(value));
    return qint32(quint32(value));
}

double readDecimal(QStringView s) {
    qsizetype i = 0;
    QString number;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        number.append(s[i++]);
    bool anyDigit = false;
    while (i < s.size() && isDigit(s[i])) {
        number.append(s[i++]);
        anyDigit = true;
    }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        number.append(s[i++]);
        while (i < s.size() && isDigit(s[i])) {
            number.append(s[i++]);
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0;
    if (i < s.size()) {
        const QChar letter = s[i].toUpper();
        if (letter == QLatin1Char('E') || letter == QLatin1Char('D')) {
            qsizetype j = i + 1;
            QString exponent = QStringLiteral("e");
            if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
                exponent.append(s[j++]);
            const qsizetype firstDigit = j;
            while (j < s.size() && isDigit(s[j]))
                exponent.append(s[j++]);
            // An exponent letter without digits is not part of the number.
            if (j > firstDigit)
                number += exponent;
        }
    }
    // QLocale::c() converts exactly and independently of the user's locale; on overflow it
    // reports failure but still yields ±inf, on underflow 0, which are the wanted values.
    return QLocale::c().toDouble(number);
}

} // namespace

double readNumber(QStringView text, NumberSyntax syntax) {
    const QString s = significantChars(text, syntax);
    if (syntax == NumberSyntax::Setting && s.size() >= 2 && s[0] == QLatin1Char('&')) {
        const QChar kind = s[1].toUpper();
        if (kind == QLatin1Char('H'))
            return readRadix(QStringView(s).mid(2), 16);
        if (kind == QLatin1Char('O'))
            return readRadix(QStringView(s).mid(2), 8);
    }
    return readDecimal(s);
}

double roundHalfEven(double value) {
    // nearbyint rounds half to even under the default rounding mode; inf and nan pass through.
    const double rounded = std::nearbyint(value);
    // -0.5 would give -0, which prints as "-0".
    return rounded == 0 ? 0.0 : rounded;
}
