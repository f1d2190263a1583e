// The five formatting commands on the plain edit buffer, given the clipboard's text or the
// answer to the list prompt.
#include "text/Commands.h"
#include "text/EditBuffer.h"

#include <QtTest>

#include "PlainEditBuffer.h"
#include "support.h"

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void command_data() {
        QTest::addColumn<QString>("command"); // "quoteAQ" is quote with AutoQuote ticked
        QTest::addColumn<QString>("clip");    // clipboard text, or the answer to the list prompt
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("tooMany");
        // "|" stands for CR LF.
        const auto row = [](const char* name, const char* command, const QString& clip,
                            const QString& text, int start, int length, const QString& after,
                            int caret, bool tooMany = false) {
            QTest::newRow(name) << QString(command) << crlf(clip) << crlf(text) << start << length
                                << crlf(after) << caret << tooMany;
        };
        const auto list = [](int n) {
            return "|[LIST]" + QString("|[*]").repeated(n) + "|[/LIST]|";
        };
        const bool tooMany = true;
        // The caret goes behind the closing tag (bold: test_accessibility, test_package).
        row("italic empty", "italic", "", "", 0, 0, "[I][/I]", 7);
        // AutoQuote takes the clipboard as it is, only when nothing is selected.
        row("quote AQ empty clipboard", "quoteAQ", "", "", 0, 0, "[QUOTE][/QUOTE]", 15);
        row("quote without AQ", "quote", "zz", "", 0, 0, "[QUOTE][/QUOTE]", 7);
        row("quote AQ clipboard with a line break", "quoteAQ", " x|y ", "ab", 1, 0,
            "a[QUOTE] x|y [/QUOTE]b", 22);
        row("quote selection ignores AQ", "quoteAQ", "zz", "Hallo", 0, 5, "[QUOTE]Hallo[/QUOTE]",
            20);
        // The link target comes from the clipboard alone.
        row("link http", "link", "http://a.de", "", 0, 0, "[URL=http://a.de][/URL]", 17);
        row("link ftp", "link", "ftp://f", "x", 1, 0, "x[URL=ftp://f][/URL]", 14);
        row("link www", "link", "www.a.de", "", 0, 0, "[URL=http://www.a.de][/URL]", 21);
        row("link https", "link", "https://a.de", "", 0, 0, "[URL][/URL]", 5);
        row("link capitals", "link", "HTTP://a.de", "", 0, 0, "[URL][/URL]", 5);
        row("link leading blank", "link", " www.a.de", "", 0, 0, "[URL][/URL]", 5);
        row("link selection, unrelated clipboard", "link", "Text", "http://x", 0, 8,
            "[URL]http://x[/URL]", 19);
        // The first three characters of the answer are the count, rounded half to even.
        row("list 0", "list", "0", "ab", 1, 0, "ab", 1);
        row("list cancelled", "list", "", "ab", 1, 0, "ab", 1);
        row("list 256", "list", "256", "ab", 1, 0, "ab", 1, tooMany);
        row("list 9e9", "list", "9e9", "ab", 1, 0, "ab", 1, tooMany);
        row("list 1000 reads 100", "list", "1000", "", 0, 0, list(100), 519);
        row("list blank 7", "list", " 7", "", 0, 0, list(7), 54);
        row("list blanks count among the three", "list", "  17", "", 0, 0, list(1), 24);
        row("list -2", "list", "-2", "", 0, 0, list(0), 19);
        row("list 2.5", "list", "2.5", "", 0, 0, list(2), 29);
        row("list 3.5", "list", "3.5", "", 0, 0, list(4), 39);
        row("list replaces the selection", "list", "2", "aXXb", 1, 2, "a" + list(2) + "b", 31);
    }

    void command() {
        QFETCH(QString, command);
        QFETCH(QString, clip);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, after);
        QFETCH(int, caret);
        QFETCH(bool, tooMany);

        PlainEditBuffer buffer(text);
        buffer.setSelStart(selStart);
        buffer.setSelLength(selLength);
        auto result = commands::ListResult::Nothing;
        if (command.startsWith("quote"))
            commands::quote(buffer, command == "quoteAQ", clip);
        else if (command == "bold")
            commands::bold(buffer);
        else if (command == "italic")
            commands::italic(buffer);
        else if (command == "link")
            commands::link(buffer, clip);
        else
            result = commands::list(buffer, clip);

        const bool changes = after != text;
        QCOMPARE(buffer.Text(), after);
        QCOMPARE(buffer.SelStart(), caret);
        QCOMPARE(buffer.SelLength(), changes ? 0 : selLength);
        // A list that stops early leaves the focus where it was.
        QCOMPARE(buffer.focusCalls(), changes ? 1 : 0);
        if (command == "list")
            QCOMPARE(result, tooMany   ? commands::ListResult::TooMany
                             : changes ? commands::ListResult::Inserted
                                       : commands::ListResult::Nothing);
    }

    void listOf255Items() {
        PlainEditBuffer buffer;
        QCOMPARE(commands::list(buffer, QStringLiteral("255")), commands::ListResult::Inserted);
        QCOMPARE(buffer.Text().count(QLatin1String("[*]")), 255);
    }
};

BEITRAGSBOX_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
