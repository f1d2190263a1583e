#include "markup/QuoteSpacing.h"

#include <QRandomGenerator>
#include <QtTest>

#include <new>

#include "QuoteSpacingReference.h"
#include "support.h"

namespace {

QString escaped(QString s) {
    return s.replace(QLatin1Char('\r'), QLatin1String("\\r"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

} // namespace

class TestQuoteSpacing : public QObject {
    Q_OBJECT
private slots:

    void knownTexts_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        // "|" stands for CR LF.
        const auto row = [](const char* name, const char* in, const char* out) {
            const auto expand = [](const char* s) { return QString(s).replace('|', "\r\n"); };
            QTest::newRow(name) << expand(in) << expand(out);
        };
        row("blank lines around a quote", "abcd||[QUOTE]x[/QUOTE]||efg",
            "abcd|[QUOTE]x[/QUOTE]|efg");
        row("longer runs around a quote", "abcd||||[QUOTE]x[/QUOTE]|||efg",
            "abcd|[QUOTE]x[/QUOTE]|efg");
        row("match at position 2 is left alone", "a||[QUOTE]x[/QUOTE]", "a||[QUOTE]x[/QUOTE]");
        row("match at position 3 is left alone", "ab||[QUOTE]x", "ab||[QUOTE]x");
        row("match at position 5 is tidied", "ab|||[QUOTE]x", "ab|[QUOTE]x");
        row("walk back reaches the start", "||||[QUOTE]x", "|[QUOTE]x");
        row("quotes in a row", "[QUOTE]a[/QUOTE]||[QUOTE]b[/QUOTE]|||rest",
            "[QUOTE]a[/QUOTE]|[QUOTE]b[/QUOTE]|rest");
        row("lower-case tags are left alone", "abcd||[quote]x[/quote]||y",
            "abcd||[quote]x[/quote]||y");
        row("named opener left, its closer tidied", "abcd||[QUOTE=x]y[/QUOTE]||z",
            "abcd||[QUOTE=x]y[/QUOTE]|z");
        row("blank line with a space stays", "abcd| |[QUOTE]x[/QUOTE]| |y",
            "abcd| |[QUOTE]x[/QUOTE]| |y");
        // After seven pairs the search resumes beyond the next tag, which keeps its blank line.
        row("search jumps over the next tag", "x|||||||[QUOTE]||[QUOTE]y", "x|[QUOTE]||[QUOTE]y");
    }
    void knownTexts() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(strFormat(input).text, expected);
        QCOMPARE(literalFormat(input), expected);
        QVERIFY(!strFormat(input).failed);
    }

    void randomTextsMatchReference() {
        const QStringList pieces = {"\r\n",      "\r",      "\n", "[QUOTE]", "[/QUOTE]",
                                    "[QUOTE=x]", "[quote]", "a",  " "};
        QRandomGenerator rng(20240611);
        for (int i = 0; i < 100000; ++i) {
            // Some texts are mostly line breaks so that long runs turn up.
            const int crlfPercent = int(rng.bounded(4)) * 25;
            QString text;
            for (int n = int(rng.bounded(41)); n > 0; --n)
                text += int(rng.bounded(100)) < crlfPercent ? pieces[0]
                                                            : pieces[rng.bounded(pieces.size())];
            const QString got = strFormat(text).text, want = literalFormat(text);
            if (got != want)
                QFAIL(qPrintable(QStringLiteral("input \"%1\": got \"%2\", want \"%3\"")
                                     .arg(escaped(text), escaped(got), escaped(want))));
        }
    }

    // Linear time: a quadratic routine would not finish on a million line breaks.
    void longRuns() {
        const QString run = QStringLiteral("\r\n").repeated(1000000);
        QCOMPARE(strFormat("x" + run + "[QUOTE]y[/QUOTE]" + run + "z").text,
                 QStringLiteral("x\r\n[QUOTE]y[/QUOTE]\r\nz"));
    }

    // Running out of memory is a failure with the text as far as it was tidied.
    void failureBetweenPassesKeepsFirstPass() {
        const auto outOfMemory = [](const QString&) -> QString { throw std::bad_alloc(); };
        const QString text = QStringLiteral("abcd\r\n\r\n\r\n[QUOTE]x[/QUOTE]\r\n\r\nefg");
        const FormatResult result =
            quotespacing::runPasses(text, {quotespacing::tidyBeforeOpeningTags, outOfMemory,
                                           quotespacing::tidyAfterClosingTags});
        QVERIFY(result.failed);
        QCOMPARE(result.text, QStringLiteral("abcd\r\n[QUOTE]x[/QUOTE]\r\n\r\nefg"));
        QVERIFY(!strFormat(text).failed);
    }
};

BEITRAGSBOX_TEST_MAIN(TestQuoteSpacing)
#include "tst_quotespacing.moc"
