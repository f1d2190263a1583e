#include "settings/NumberReader.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Exact equality: fuzzy comparison would hide a conversion that is one bit off.
bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

QByteArray describe(double actual, double expected) {
    return QByteArray("actual ") + QByteArray::number(actual, 'g', 17) + ", expected " +
           QByteArray::number(expected, 'g', 17);
}

void addColumns() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
}

void row(const char* name, const QString& input, double value, double rounded) {
    QTest::newRow(name) << input << value << rounded;
}

// Rows that read the same in both syntaxes.
void addCommonRows() {
    row("digit", "3", 3, 3);
    row("empty", "", 0, 0);
    row("letters", "abc", 0, 0);
    row("negative", "-2", -2, -2);
    row("plus sign", "+4", 4, 4);
    row("half rounds to even below", "2.5", 2.5, 2);
    row("half rounds to even above", "3.5", 3.5, 4);
    row("negative half", "-2.5", -2.5, -2);
    row("zero point five", "0.5", 0.5, 0);
    row("one point five", "1.5", 1.5, 2);
    row("no integer part", ".5", 0.5, 0);
    row("no fraction digits", "5.", 5, 5);
    row("negative without integer part", "-.5", -0.5, 0);
    row("exponent", "9e9", 9e9, 9e9);
    row("upper case exponent", "1E3", 1000, 1000);
    row("D exponent", "1D2", 100, 100);
    row("lower case d with sign", "1d-2", 0.01, 0);
    row("fraction with exponent", "2.5e1", 25, 25);
    row("exponent letter without digits", "1e", 1, 1);
    row("exponent plus without digits", "1e+", 1, 1);
    row("exponent minus without digits", "1e-", 1, 1);
    row("exponent with two signs", "1e+-5", 1, 1);
    row("two exponent letters", "1ee5", 1, 1);
    row("text after exponent", "1e5x", 1e5, 1e5);
    row("only plus", "+", 0, 0);
    row("only minus", "-", 0, 0);
    row("only point", ".", 0, 0);
    row("sign and point", "-.", 0, 0);
    row("exponent without mantissa", "e5", 0, 0);
    row("point and exponent only", ".e5", 0, 0);
    row("double sign", "--5", 0, 0);
    row("mixed signs", "+-5", 0, 0);
    row("text after digits", "12abc", 12, 12);
    row("second point stops", "1.2.3", 1.2, 1);
    row("comma is no decimal point", "1,5", 1, 1);
    row("four digits", "1000", 1000, 1000);
    row("not exactly representable", "0.1", 0.1, 0);
    row("huge exponent", "1e999", kInf, kInf);
    row("huge negative", "-1e999", -kInf, -kInf);
    row("exponent beyond any integer", "1e99999999999999999999", kInf, kInf);
    row("tiny exponent", "1e-999", 0, 0);
    row("zero with huge exponent", "0e99999", 0, 0);
    row("hex prefix of C", "0x1A", 0, 0);
    row("inf is no number", "inf", 0, 0);
    row("nan is no number", "nan", 0, 0);
    row("full width digits", QStringLiteral("\uFF11\uFF12"), 0, 0);
    row("arabic indic digit", QStringLiteral("\u0661"), 0, 0);
    row("full width digit stops", QStringLiteral("1\uFF12"), 1, 1);
    row("million nines", QString(1000000, QLatin1Char('9')), kInf, kInf);
    row("long fraction", "0." + QString(100000, QLatin1Char('0')) + "5", 0, 0);
    row("long mantissa scaled back", "0." + QString(5000, QLatin1Char('0')) + "7e5003", 700, 700);
}

void check(NumberSyntax syntax) {
    QFETCH(QString, input);
    QFETCH(double, value);
    QFETCH(double, rounded);
    const double actual = readNumber(input, syntax);
    QVERIFY2(same(actual, value), describe(actual, value).constData());
    const double actualRounded = roundHalfEven(actual);
    QVERIFY2(same(actualRounded, rounded), describe(actualRounded, rounded).constData());
}

} // namespace

class TestNumberReader : public QObject {
    Q_OBJECT

private slots:
    // Users run the program under a German locale, where "," is the decimal separator.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void decimal_data() {
        addColumns();
        addCommonRows();
        row("leading blank", " 7", 7, 7);
        row("several leading blanks", "   -3", -3, -3);
        row("blank between digits stops", "1 2", 1, 1);
        row("blank after sign stops", "- 5", 0, 0);
        row("blank before exponent stops", "1 e5", 1, 1);
        row("blank inside exponent stops", "1e 5", 1, 1);
        row("leading tab is not skipped", "\t3", 0, 0);
        row("hex prefix is no number", "&HFF", 0, 0);
    }
    void decimal() { check(NumberSyntax::Decimal); }

    void setting_data() {
        addColumns();
        addCommonRows();
        row("leading blank", " 7", 7, 7);
        row("blank between digits", "1 2", 12, 12);
        row("blanks around sign", " - 5", -5, -5);
        row("tab and blank", "\t 3", 3, 3);
        row("line feed between digits", "1\n2", 12, 12);
        row("blank inside exponent", "1e 5", 1e5, 1e5);
        row("blanks around point", "1 . 5", 1.5, 2);
        row("carriage return stops", "\r3", 0, 0);
        row("hex", "&HFF", 255, 255);
        row("hex lower case", "&hff", 255, 255);
        row("hex with blanks", "& H F F", 255, 255);
        row("hex stops at non hex digit", "&HFG", 15, 15);
        row("hex without digits", "&H", 0, 0);
        row("hex beyond 31 bits stays unsigned", "&HFFFFFFFF", 4294967295.0, 4294967295.0);
        row("hex beyond 32 bits", "&H10000000000000", 4503599627370496.0, 4503599627370496.0);
        row("octal lower case", "&o17", 15, 15);
        row("octal upper case", "&O17", 15, 15);
        row("octal stops at 8", "&O78", 7, 7);
        row("octal without digits", "&O", 0, 0);
        row("octal with non octal digit", "&O8", 0, 0);
        row("sign before hex", "-&HFF", 0, 0);
        row("ampersand alone", "&", 0, 0);
        row("unknown radix letter", "&X1", 0, 0);
        row("long hex", "&H" + QString(100000, QLatin1Char('F')), kInf, kInf);
    }
    void setting() { check(NumberSyntax::Setting); }

    void roundHalfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("just below half") << 0.49999999999999994 << 0.0;
        QTest::newRow("just below two and a half") << 2.4999999999999996 << 2.0;
        QTest::newRow("just above two and a half") << 2.5000000000000004 << 3.0;
        QTest::newRow("negative odd half") << -3.5 << -4.0;
        QTest::newRow("negative below half") << -1.4 << -1.0;
        QTest::newRow("largest with a half") << 4503599627370495.5 << 4503599627370496.0;
        QTest::newRow("beyond fractions") << 9007199254740992.0 << 9007199254740992.0;
        QTest::newRow("infinity") << kInf << kInf;
        QTest::newRow("negative infinity") << -kInf << -kInf;
        QTest::newRow("not a number") << kNaN << kNaN;
    }
    void roundHalfEven() {
        QFETCH(double, value);
        QFETCH(double, rounded);
        const double actual = ::roundHalfEven(value);
        QVERIFY2(same(actual, rounded), describe(actual, rounded).constData());
    }

    // A rounded -0 would print as "-0".
    void roundedZeroHasNoSign_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("minus half") << -0.5;
        QTest::newRow("minus tenth") << -0.1;
        QTest::newRow("minus zero") << -0.0;
    }
    void roundedZeroHasNoSign() {
        QFETCH(double, value);
        const double actual = ::roundHalfEven(value);
        QCOMPARE(actual, 0.0);
        QVERIFY(!std::signbit(actual));
    }
};

QTEST_GUILESS_MAIN(TestNumberReader)
#include "tst_numberreader.moc"
