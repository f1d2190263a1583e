// The words handed to the spell checker, on hand-marked lines.
#include "text/SpellScan.h"

#include <QtTest>

namespace {

// "start:word" for each word, so that a failure shows which word went wrong.
QString describe(const QString& line, const QList<spellscan::Word>& words) {
    QStringList out;
    for (const spellscan::Word& w : words)
        out << QString::number(w.start) + u':' + line.mid(w.start, w.length);
    return out.join(u' ');
}

// The expected words are the runs of '^' under the line (one mark per UTF-16 unit).
QList<spellscan::Word> underlined(const QString& marks) {
    QList<spellscan::Word> words;
    for (qsizetype i = 0; i < marks.size(); ++i) {
        if (marks[i] != u'^')
            continue;
        qsizetype end = i;
        while (end < marks.size() && marks[end] == u'^')
            ++end;
        words.append({i, end - i});
        i = end;
    }
    return words;
}

} // namespace

class TestSpellScan : public QObject {
    Q_OBJECT
private slots:
    void checkableWords_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("marks");
        const auto row = [](const char* name, const char* line, const char* marks) {
            QTest::newRow(name) << QString::fromUtf8(line) << QString(marks);
        };
        // Each line stands above its marks.
        // clang-format off
        row("umlauts and sharp s",
            "Grüße aus Köln, süß!",
            "^^^^^ ^^^ ^^^^  ^^^");
        row("other scripts",
            "Привет мир",
            "^^^^^^ ^^^");
        row("hyphens",
            "E-Mail-Adresse -vorne hinten- a--b",
            "^^^^^^^^^^^^^^  ^^^^^ ^^^^^^");
        row("apostrophes",
            "geht's geht’s 'Zitat' Max' Auto",
            "^^^^^^ ^^^^^^  ^^^^^  ^^^  ^^^^");
        // Each emoji is two units, so two blanks under it.
        row("emoji between words",
            "Hallo\U0001F600Welt \U0001F44D gut",
            "^^^^^  ^^^^    ^^^");
        // Letters beyond the BMP: two letters are a word, one is not.
        row("letters outside the BMP",
            "\U0001D504\U0001D505 \U0001D504 ab",
            "^^^^    ^^");
        row("combining marks",
            "Cafe\u0301 e\u0301 x",
            "^^^^^");
        row("single letters",
            "a b c Ok",
            "      ^^");
        row("tags with and without parameters",
            "[B]fett[/B] [QUOTE=Fehlr]Text[/QUOTE] [COLOR=rot]Wort[/COLOR]",
            "   ^^^^                  ^^^^                    ^^^^");
        row("tag names in any case",
            "[i]kursiv[/I] [uRl=http://fehlr.de]Link[/url]",
            "   ^^^^^^                          ^^^^");
        row("lists",
            "[LIST=1][*]eins[*]zwei[/LIST]",
            "           ^^^^   ^^^^");
        row("unknown name is prose",
            "[sic] Wort [Fehlr=x]",
            " ^^^  ^^^^  ^^^^^");
        row("urls of each kind",
            "http://fehlr.de HTTPS://x.de/pfad ftp://a.b www.fehlr.de WWW.Fehlr.de Ende",
            "                                                                      ^^^^");
        row("url up to a closing tag",
            "[URL]http://fehlr.de/[x][/URL]Text",
            "                              ^^^^");
        row("url after punctuation",
            "Link:(www.fehlr.de) hier",
            "^^^^                ^^^^");
        row("e-mail",
            "Mail an max@fehlr.de, (info@x.de) @Name",
            "^^^^ ^^                            ^^^^");
        row("e-mail up to a tag",
            "[EMAIL]max@fehlr.de[/EMAIL]Rest",
            "                           ^^^^");
        row("smilies",
            ":fehlr: gut:biggrin: :fehlr_x-1: :-) ::",
            "        ^^^");
        row("numbers and words with digits",
            "2024 mp3 3te H2O Wort_mit mp3-Player x",
            "                              ^^^^^^");
        // clang-format on
    }
    void checkableWords() {
        QFETCH(QString, line);
        QFETCH(QString, marks);
        QCOMPARE(describe(line, spellscan::checkableWords(line)),
                 describe(line, underlined(marks)));
    }
};

QTEST_APPLESS_MAIN(TestSpellScan)
#include "tst_spellscan.moc"
