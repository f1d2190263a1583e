// Tag recognition and the balance of open and closed tags on hand-checked texts.
#include "text/TagBalance.h"

#include <QtTest>

namespace {

using tagbalance::Problem;

// "5+4 Crossed: message", one entry per mark.
QStringList describe(const QList<tagbalance::Mark>& marks) {
    static const char* const problems[] = {"Unclosed", "Unopened", "Crossed", "OutsideList"};
    QStringList out;
    for (const tagbalance::Mark& m : marks)
        out << QStringLiteral("%1+%2 %3: %4")
                   .arg(m.start)
                   .arg(m.length)
                   .arg(QLatin1String(problems[int(m.problem)]), tagbalance::message(m));
    return out;
}

QString describe(const QList<tagbalance::Range>& quotes) {
    QStringList out;
    for (const tagbalance::Range& r : quotes)
        out << QStringLiteral("%1-%2").arg(r.start).arg(r.end);
    return out.join(QLatin1String(", "));
}

} // namespace

class TestTagBalance : public QObject {
    Q_OBJECT
private slots:
    // "/" marks a closing tag, "=" a parameter; "-" is no tag. Most names and forms are pinned by
    // the marks of check() below; the fuzz target checks pieced texts.
    void tagAt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("pos");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* text, qsizetype pos, const char* expected) {
            QTest::newRow(text) << QString::fromUtf8(text) << pos << QString(expected);
        };
        row("[URL=http://a.de]", 0, "URL= 17");
        row("[HIGHLIGHT]", 0, "HIGHLIGHT 11");
        row("[]", 0, "-");
        row("x[B]", 0, "-");
        row("[B\r]", 0, "-");
        row("[ſ]", 0, "-"); // folds to "s" outside ASCII
    }
    void tagAt() {
        QFETCH(QString, text);
        QFETCH(qsizetype, pos);
        QFETCH(QString, expected);
        const std::optional<tagbalance::Tag> tag = tagbalance::tagAt(text, pos);
        QString actual = QStringLiteral("-");
        if (tag)
            actual = QLatin1String(tag->closing ? "/" : "") + tag->name +
                     QLatin1String(tag->hasParameter ? "= " : " ") + QString::number(tag->length);
        QCOMPARE(actual, expected);
    }

    void check_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("marks");
        QTest::addColumn<QString>("quotes");
        const auto row = [](const char* name, const char* text, const QStringList& marks,
                            const char* quotes = "") {
            QTest::newRow(name) << QString::fromUtf8(text) << marks << QString(quotes);
        };
        row("nested with parameter", "[QUOTE=Max][B]fett[/B][/QUOTE]", {}, "0-30");
        row("mixed case", "[b]x[/B][Url=http://a.de]y[/uRl]", {});
        row("bracket inside a parameter", "[URL=a[B]b]x[/URL]", {});
        row("unclosed", "a [B]b", {"2+3 Unclosed: [B] wird nicht geschlossen"});
        row("unclosed quote with parameter", "[quote=Max]Hallo",
            {"0+11 Unclosed: [QUOTE] wird nicht geschlossen"}, "0-16");
        row("unopened", "a[/I]b", {"1+4 Unopened: [/I] schließt kein offenes [I]"});
        row("crossed", "[B][I]x[/B][/I]",
            {"7+4 Crossed: [/B] schließt [B], aber [I] ist noch offen"});
        row("crossed deep, the outer tag still closes", "[S][U][B][I]x[/U][/I][/B][/S]",
            {"13+4 Crossed: [/U] schließt [U], aber [I] ist noch offen"});
        row("crossed and left open, sorted", "[B][I]x[/B]",
            {"3+3 Unclosed: [I] wird nicht geschlossen",
             "7+4 Crossed: [/B] schließt [B], aber [I] ist noch offen"});
        row("a run of one name crossed, then uncovered", "[B][B][B][I][/B][/B][/I]",
            {"0+3 Unclosed: [B] wird nicht geschlossen",
             "12+4 Crossed: [/B] schließt [B], aber [I] ist noch offen",
             "16+4 Crossed: [/B] schließt [B], aber [I] ist noch offen"});
        row("closed twice", "[I]a[/I][/I]", {"8+4 Unopened: [/I] schließt kein offenes [I]"});
        row("list", "[LIST][*]a[*]b[/LIST]", {});
        row("numbered list, closed item", "[LIST=1][*]a[/*][/LIST]", {});
        row("item in a tag in a list", "[LIST][B][*]a[/B][/LIST]", {});
        row("nested lists", "[LIST][*]a[LIST=a][*]b[/LIST][*]c[/LIST]", {});
        row("outer list left open", "[LIST][*]a[LIST][*]b[/LIST]",
            {"0+6 Unclosed: [LIST] wird nicht geschlossen"});
        row("item outside a list", "x[*]y", {"1+3 OutsideList: [*] steht außerhalb einer Liste"});
        row("closed item outside a list", "x[/*]y",
            {"1+4 OutsideList: [/*] steht außerhalb einer Liste"});
        row("item after the list", "[LIST][*]a[/LIST][*]b",
            {"17+3 OutsideList: [*] steht außerhalb einer Liste"});
        row("unknown names", "[sic] [x]y[/x] [/sic] [/B=x] [*=1] [B", {});
        row("parameter broken by LF", "[URL=a\nb]x[/URL]",
            {"10+6 Unopened: [/URL] schließt kein offenes [URL]"});
        row("parameter broken by U+2028", "[COLOR=red\u2028]x[/COLOR]",
            {"13+8 Unopened: [/COLOR] schließt kein offenes [COLOR]"});
        row("name broken by a paragraph", "[B\u2029]x[/B]",
            {"5+4 Unopened: [/B] schließt kein offenes [B]"});
        row("nested quotes, then another", "[QUOTE][QUOTE]a[/QUOTE][/QUOTE] b [QUOTE]c[/QUOTE]", {},
            "0-31, 34-50");
        row("crossed close ends the quote", "[QUOTE][B]a[/QUOTE]b",
            {"7+3 Unclosed: [B] wird nicht geschlossen",
             "11+8 Crossed: [/QUOTE] schließt [QUOTE], aber [B] ist noch offen"},
            "0-19");
        row("inner quote left open", "x[QUOTE]a[QUOTE]b[/QUOTE]c",
            {"1+7 Unclosed: [QUOTE] wird nicht geschlossen"}, "1-26");
    }
    void check() {
        QFETCH(QString, text);
        QFETCH(QStringList, marks);
        QFETCH(QString, quotes);
        const tagbalance::Result result = tagbalance::check(text);
        QCOMPARE(describe(result.marks), marks);
        QCOMPARE(describe(result.quotes), quotes);
    }

    // Only the first marks of a text full of unbalanced tags, in text order, and a word that
    // more follow.
    void marksAreBounded_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("lastStart");
        QTest::addColumn<bool>("more");
        const qsizetype n = tagbalance::kMaxMarks;
        const QString open = QStringLiteral("[B]"), closer = QStringLiteral("[/I]");
        QTest::newRow("as many as marked") << open.repeated(n) << 3 * (n - 1) << false;
        QTest::newRow("one closer more") << closer.repeated(n + 1) << 4 * (n - 1) << true;
        QTest::newRow("closers, then open tags")
            << closer.repeated(3000) + open.repeated(3000) << 4 * 3000 + 3 * (n - 3001) << true;
    }
    void marksAreBounded() {
        QFETCH(QString, text);
        QFETCH(qsizetype, lastStart);
        QFETCH(bool, more);
        const tagbalance::Result result = tagbalance::check(text);
        QCOMPARE(result.marks.size(), tagbalance::kMaxMarks);
        QCOMPARE(result.marks.last().start, lastStart);
        QCOMPARE(result.more, more);
    }
};

QTEST_APPLESS_MAIN(TestTagBalance)
#include "tst_tagbalance.moc"
