// Fixed readings; blanks, trailing letters, radix values and the rounding rule are checked on any
// text by the fuzz target fuzz/number.cpp.
#include "text/NumberReader.h"

#include <QtTest>

#include <cmath>
#include <limits>

#include "support.h"

class TestNumberReader : public QObject {
    Q_OBJECT

private slots:
    // Users run a German locale, where "," is the decimal separator.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void reads_data() {
        QTest::addColumn<NumberSyntax>("syntax");
        QTest::addColumn<QString>("input");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        const auto D = NumberSyntax::Decimal;
        const auto S = NumberSyntax::Setting;
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("blank inside stops") << D << "1 2" << 1.0 << 1.0;
        QTest::newRow("blank after sign stops") << D << "- 5" << 0.0 << 0.0;
        QTest::newRow("leading tab not skipped") << D << "\t3" << 0.0 << 0.0;
        QTest::newRow("setting: blanks around sign") << S << " - 5" << -5.0 << -5.0;
        QTest::newRow("setting: tab, line feed, point") << S << "\t1\n. 5" << 1.5 << 2.0;
        QTest::newRow("setting: blank in exponent") << S << "1e 5" << 1e5 << 1e5;
        QTest::newRow("plus sign") << D << "+4" << 4.0 << 4.0;
        QTest::newRow("double sign") << S << "--5" << 0.0 << 0.0;
        QTest::newRow("no integer part") << D << ".5" << 0.5 << 0.0;
        QTest::newRow("negative point five has no sign") << S << "-.5" << -0.5 << 0.0;
        QTest::newRow("D exponent") << S << "1d-2" << 0.01 << 0.0;
        QTest::newRow("exponent without digits") << D << "1e" << 1.0 << 1.0;
        QTest::newRow("exponent with two signs") << S << "1e+-5" << 1.0 << 1.0;
        QTest::newRow("huge exponent") << D << "-1e999" << -inf << -inf;
        QTest::newRow("exponent beyond any integer") << S << "1e99999999999999999999" << inf << inf;
        QTest::newRow("hex") << S << "&hFf" << 255.0 << 255.0;
        QTest::newRow("hex stops at G") << S << "& H F G" << 15.0 << 15.0;
        QTest::newRow("octal stops at 8") << S << "&O78" << 7.0 << 7.0;
        QTest::newRow("hex is no decimal") << D << "&HFF" << 0.0 << 0.0;
        QTest::newRow("second point stops") << S << "1.2.3" << 1.2 << 1.0;
        QTest::newRow("comma is no decimal point") << D << "1,5" << 1.0 << 1.0;
        QTest::newRow("full width digit stops") << D << QStringLiteral("1\uFF12") << 1.0 << 1.0;
        QTest::newRow("nothing") << D << "" << 0.0 << 0.0;
        QTest::newRow("no digits") << S << "abc" << 0.0 << 0.0;
        QTest::newRow("inf is no number") << D << "inf" << 0.0 << 0.0;
        QTest::newRow("half to even down") << D << "2.5" << 2.5 << 2.0;
    }
    void reads() {
        QFETCH(NumberSyntax, syntax);
        QFETCH(QString, input);
        QFETCH(double, value);
        QFETCH(double, rounded);
        // Exact equality: a fuzzy comparison would hide a conversion that is one bit off.
        const double actual = readNumber(input, syntax);
        QVERIFY2(actual == value, qPrintable(QString::number(actual, 'g', 17)));
        const double actualRounded = roundHalfEven(actual);
        QVERIFY2(actualRounded == rounded, qPrintable(QString::number(actualRounded, 'g', 17)));
        QCOMPARE(std::signbit(actualRounded), std::signbit(rounded)); // "-0" must not show
    }
};

BEITRAGSBOX_TEST_MAIN(TestNumberReader)
#include "tst_numberreader.moc"
