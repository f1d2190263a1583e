#pragma once
#include <QStringView>

// Reads the number at the start of a text the way the original program's numeric conversion
// did, and rounds it half to even.
enum class NumberSyntax {
    // Leading blanks skipped; sign, digits, "." and an exponent (E or D); stops at the first
    // character that cannot belong to the number.
    Decimal,
    // As Decimal, but blanks, tabs and line feeds are skipped wherever they stand, and "&H" /
    // "&O" introduce hexadecimal / octal digits of a signed 16- or 32-bit number.
    Setting,
};

// The value of the number at the start of text; 0 when there is none. May be ±inf for a huge
// exponent, and NaN for an "&H" or "&O" number beyond 32 bits, which has no value.
double readNumber(QStringView text, NumberSyntax syntax);

// Nearest whole number, an exact half to the even neighbour (2.5 → 2, 3.5 → 4).
double roundHalfEven(double value);
