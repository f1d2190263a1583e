// Quote tidying on known texts, each also checked against the slow reference and in the edit
// field's own form of the text; the fuzz target compares them on random texts.
#include "text/QuoteSpacing.h"

#include <QtTest>

#include <new>

#include "QuoteSpacingReference.h"
#include "support.h"

namespace {

using quotespacing::Breaks;

QString paragraphs(QString text) {
    return text.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
}

QString withoutDeletions(QString text, const QList<TextChange>& deletions) {
    for (auto it = deletions.crbegin(); it != deletions.crend(); ++it) {
        if (!it->inserted.isEmpty())
            qFatal("a deletion inserts text");
        text.remove(it->pos, it->removed);
    }
    return text;
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
        const quotespacing::Tidying inField =
            quotespacing::tidy(paragraphs(input), Breaks::Paragraph);
        QCOMPARE(withoutDeletions(paragraphs(input), inField.deletions), paragraphs(expected));
    }

    // Linear time: a quadratic routine would not finish on a million line breaks.
    void longRuns() {
        const QString run = QStringLiteral("\r\n").repeated(1000000);
        const QString text = "x" + run + "[QUOTE]y[/QUOTE]" + run + "z";
        QCOMPARE(strFormat(text).text, QStringLiteral("x\r\n[QUOTE]y[/QUOTE]\r\nz"));
        QCOMPARE(quotespacing::tidy(paragraphs(text), Breaks::Paragraph).deletions.size(), 2);
    }

    // Running out of memory is a failure with the text as far as it was tidied.
    void failureBetweenPassesKeepsFirstPass() {
        const auto outOfMemory = [](QStringView, Breaks) -> QList<TextChange> {
            throw std::bad_alloc();
        };
        const QString text = QStringLiteral("abcd\r\n\r\n\r\n[QUOTE]x[/QUOTE]\r\n\r\nefg");
        const quotespacing::Tidying result = quotespacing::runPasses(
            text, Breaks::CrLf,
            {quotespacing::tidyBeforeOpeningTags, outOfMemory, quotespacing::tidyAfterClosingTags});
        QVERIFY(result.failed);
        QCOMPARE(withoutDeletions(text, result.deletions),
                 QStringLiteral("abcd\r\n[QUOTE]x[/QUOTE]\r\n\r\nefg"));
        QVERIFY(!strFormat(text).failed);
    }
};

BEITRAGSBOX_TEST_MAIN(TestQuoteSpacing)
#include "tst_quotespacing.moc"
