#include "markup/QuoteSpacing.h"
#include "platform/boxes.h"

#include <QRandomGenerator>
#include <QtTest>

#include <new>

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString blankLine = QStringLiteral("\r\n\r\n");

// Reference: the original routine's splicing loops, 1-based positions, quadratic. The linear
// passes must agree with it on every input, quirks included.
QString literalBeforeOpeningTags(QString t) {
    const QString pattern = QStringLiteral("\r\n\r\n[QUOTE]");
    qsizetype start = 1;
    for (;;) {
        const qsizetype p = t.indexOf(pattern, start - 1) + 1;
        if (p > 4) {
            qsizetype q = p;
            bool pair;
            do {
                pair = t.mid(q - 1, 4) == blankLine;
                if (pair) {
                    t = t.left(q - 1) + crlf + t.mid(q - 1 + 4);
                    q -= 2;
                }
            } while (pair && q >= 1);
        }
        if (p == 0)
            break;
        start = p + 1;
    }
    return t;
}

QString literalAfterClosingTags(QString t) {
    const QString pattern = QStringLiteral("[/QUOTE]\r\n\r\n");
    for (;;) {
        const qsizetype p = t.indexOf(pattern) + 1;
        if (p == 0)
            break;
        const qsizetype q = p + 8;
        while (t.mid(q - 1, 4) == blankLine)
            t = t.left(q - 1) + crlf + t.mid(q - 1 + 4);
    }
    return t;
}

QString escaped(QString s) {
    return s.replace(QLatin1Char('\r'), QLatin1String("\\r"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

// Empty when both passes and the whole agree with the reference, else what differs.
QString mismatch(const QString& input) {
    const QString want1 = literalBeforeOpeningTags(input);
    const QString want = literalAfterClosingTags(want1);
    const QString got1 = quotespacing::tidyBeforeOpeningTags(input);
    const QString got2 = quotespacing::tidyAfterClosingTags(input);
    const QString want2 = literalAfterClosingTags(input);
    const QString got = strFormat(input);
    if (got1 == want1 && got2 == want2 && got == want)
        return QString();
    return QStringLiteral("input \"%1\": before-pass \"%2\" want \"%3\", after-pass \"%4\" want "
                          "\"%5\", strFormat \"%6\" want \"%7\"")
        .arg(escaped(input), escaped(got1), escaped(want1), escaped(got2), escaped(want2),
             escaped(got), escaped(want));
}

} // namespace

class TestQuoteSpacing : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        quotespacing::betweenPassesHook = nullptr;
        boxes::seam().reset();
    }

    void knownTexts_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        // "|" stands for CR LF, "\r" and "\n" for lone ones.
        const auto row = [](const char* name, const char* in, const char* out) {
            const auto expand = [](const char* s) {
                return QString::fromLatin1(s).replace(QLatin1Char('|'), crlf);
            };
            QTest::newRow(name) << expand(in) << expand(out);
        };
        row("blank lines around a quote", "abcd||[QUOTE]x[/QUOTE]||efg",
            "abcd|[QUOTE]x[/QUOTE]|efg");
        row("longer runs around a quote", "abcd||||[QUOTE]x[/QUOTE]|||efg",
            "abcd|[QUOTE]x[/QUOTE]|efg");
        row("match at position 2 is left alone", "a||[QUOTE]x[/QUOTE]", "a||[QUOTE]x[/QUOTE]");
        row("match at position 3 is left alone", "ab||[QUOTE]x", "ab||[QUOTE]x");
        row("match at position 4 is left alone", "a|||[QUOTE]x", "a|||[QUOTE]x");
        row("match at position 5 is tidied", "ab|||[QUOTE]x", "ab|[QUOTE]x");
        row("match at the start is left alone", "|||[QUOTE]x", "|||[QUOTE]x");
        row("walk back reaches the start", "||||[QUOTE]x", "|[QUOTE]x");
        row("walk back across an odd start", "a||||[QUOTE]x", "a|[QUOTE]x");
        row("quotes in a row", "[QUOTE]a[/QUOTE]||[QUOTE]b[/QUOTE]|||rest",
            "[QUOTE]a[/QUOTE]|[QUOTE]b[/QUOTE]|rest");
        row("six pairs, next tag still found", "x||||||[QUOTE]||[QUOTE]y", "x|[QUOTE]|[QUOTE]y");
        row("seven pairs, search jumps over the next tag", "x|||||||[QUOTE]||[QUOTE]y",
            "x|[QUOTE]||[QUOTE]y");
        row("run behind jumped-over text is tidied", "x|||||||[QUOTE]ab||||[QUOTE]y",
            "x|[QUOTE]ab|[QUOTE]y");
        row("no tags", "abc||||def|||", "abc||||def|||");
        row("empty", "", "");
        row("quote at the end", "ab[/QUOTE]||", "ab[/QUOTE]|");
        row("single line break after a quote stays", "[/QUOTE]|x", "[/QUOTE]|x");
        row("blank line with a blank stays", "abcd| |[QUOTE]x[/QUOTE]| |y",
            "abcd| |[QUOTE]x[/QUOTE]| |y");
        row("lower-case tags are left alone", "abcd||[quote]x[/quote]||y",
            "abcd||[quote]x[/quote]||y");
        row("named opener left, its closer tidied", "abcd||[QUOTE=x]y[/QUOTE]||z",
            "abcd||[QUOTE=x]y[/QUOTE]|z");
        row("lone CR stops the walk", "ab\r|||[QUOTE]x", "ab\r|[QUOTE]x");
        row("lone LF breaks the pattern", "ab|\n|[QUOTE]x", "ab|\n|[QUOTE]x");
        row("lone CR after a closer", "[/QUOTE]|\r|x", "[/QUOTE]|\r|x");
        row("lone LF ends the run after a closer", "[/QUOTE]|||\nx", "[/QUOTE]|\nx");
        row("CR before LF pairs after a closer", "[/QUOTE]\r||x", "[/QUOTE]\r||x");
    }

    void knownTexts() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        boxes::seam().active = true;
        QCOMPARE(strFormat(input), expected);
        const QString diff = mismatch(input);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QVERIFY(boxes::seam().messages.isEmpty());
    }

    void randomTextsMatchReference() {
        const QStringList pieces = {crlf,
                                    QStringLiteral("\r"),
                                    QStringLiteral("\n"),
                                    QStringLiteral("[QUOTE]"),
                                    QStringLiteral("[/QUOTE]"),
                                    QStringLiteral("[QUOTE=x]"),
                                    QStringLiteral("[quote]"),
                                    QStringLiteral("a"),
                                    QStringLiteral(" ")};
        QRandomGenerator rng(20240611);
        for (int i = 0; i < 100000; ++i) {
            // Some texts are mostly line breaks so that long runs turn up.
            const int crlfPercent = int(rng.bounded(4)) * 25;
            const int length = int(rng.bounded(41));
            QString text;
            for (int n = 0; n < length; ++n)
                text += int(rng.bounded(100)) < crlfPercent
                            ? crlf
                            : pieces[int(rng.bounded(qsizetype(pieces.size())))];
            const QString diff = mismatch(text);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
    }

    void longRuns() {
        const qsizetype pairs = 1000000;
        const QString input = QLatin1Char('x') + crlf.repeated(pairs) +
                              QStringLiteral("[QUOTE]y[/QUOTE]") + crlf.repeated(pairs) +
                              QLatin1Char('z');
        QCOMPARE(strFormat(input), QStringLiteral("x\r\n[QUOTE]y[/QUOTE]\r\nz"));
    }

    void failureBetweenPassesKeepsFirstPass() {
        const QString input = QStringLiteral("abcd\r\n\r\n\r\n[QUOTE]x[/QUOTE]\r\n\r\nefg");
        const QString firstPass = literalBeforeOpeningTags(input);
        QVERIFY(firstPass != input);
        QVERIFY(literalAfterClosingTags(firstPass) != firstPass);
        boxes::seam().active = true;
        quotespacing::betweenPassesHook = [] { throw std::bad_alloc(); };
        QCOMPARE(strFormat(input), firstPass);
        QCOMPARE(boxes::seam().messages,
                 QStringList{QStringLiteral("Fehler|16|Fehler in strFormat")});
    }
};

QTEST_MAIN(TestQuoteSpacing)
#include "tst_quotespacing.moc"
