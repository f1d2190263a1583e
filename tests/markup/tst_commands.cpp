// The five formatting commands on the plain edit buffer, with the clipboard and the boxes.
#include "markup/Commands.h"
#include "markup/EditBuffer.h"
#include "platform/boxes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

namespace {
QString crlf(QString s) {
    return s.replace(QLatin1String("|"), QLatin1String("\r\n"));
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void init() {
        boxes::seam().reset();
        boxes::seam().active = true;
    }
    void cleanup() { boxes::seam().reset(); }

    void command_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("autoQuote");
        QTest::addColumn<QString>("clip"); // clipboard text, or the list answer
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("message");

        const QString none;
        // Bold and italic put the caret behind the closing tag.
        QTest::newRow("bold empty")
            << "bold" << false << none << "" << 0 << 0 << "[B][/B]" << 7 << none;
        QTest::newRow("italic empty")
            << "italic" << false << none << "" << 0 << 0 << "[I][/I]" << 7 << none;
        QTest::newRow("bold sel") << "bold" << false << none << "Hallo Welt" << 0 << 5
                                  << "[B]Hallo[/B] Welt" << 12 << none;
        // Quote: AutoQuote takes the clipboard only when nothing is selected.
        QTest::newRow("quote AQ empty clip") << "quote" << true << ""
                                             << "" << 0 << 0 << "[QUOTE][/QUOTE]" << 15 << none;
        QTest::newRow("quote no AQ") << "quote" << false << "zz"
                                     << "" << 0 << 0 << "[QUOTE][/QUOTE]" << 7 << none;
        QTest::newRow("quote AQ clip")
            << "quote" << true << " Zitat "
            << "ab" << 1 << 0 << "a[QUOTE] Zitat [/QUOTE]b" << 23 << none;
        QTest::newRow("quote AQ LF clip")
            << "quote" << true << "x\ny"
            << "" << 0 << 0 << crlf("[QUOTE]x|y[/QUOTE]") << 19 << none;
        QTest::newRow("quote sel ignores AQ")
            << "quote" << true << "zz"
            << "Hallo" << 0 << 5 << "[QUOTE]Hallo[/QUOTE]" << 20 << none;
        // Link: the target comes from the clipboard alone.
        QTest::newRow("link http") << "link" << false << "http://a.de"
                                   << "" << 0 << 0 << "[URL=http://a.de][/URL]" << 17 << none;
        QTest::newRow("link ftp") << "link" << false << "ftp://f"
                                  << "x" << 1 << 0 << "x[URL=ftp://f][/URL]" << 14 << none;
        QTest::newRow("link www") << "link" << false << "www.a.de"
                                  << "" << 0 << 0 << "[URL=http://www.a.de][/URL]" << 21 << none;
        QTest::newRow("link https") << "link" << false << "https://a.de"
                                    << "" << 0 << 0 << "[URL][/URL]" << 5 << none;
        QTest::newRow("link capitals") << "link" << false << "HTTP://a.de"
                                       << "" << 0 << 0 << "[URL][/URL]" << 5 << none;
        QTest::newRow("link blank") << "link" << false << " www.a.de"
                                    << "" << 0 << 0 << "[URL][/URL]" << 5 << none;
        QTest::newRow("link sel no target")
            << "link" << false << "Text"
            << "http://x" << 0 << 8 << "[URL]http://x[/URL]" << 19 << none;
        QTest::newRow("link sel target")
            << "link" << false << "www.b"
            << "hier" << 0 << 4 << "[URL=http://www.b]hier[/URL]" << 28 << none;
        QTest::newRow("link multi-line target")
            << "link" << false << "www.a\nb"
            << "" << 0 << 0 << crlf("[URL=http://www.a|b][/URL]") << 21 << none;
        // List: the first three characters of the answer are the count.
        const QString frame2 = crlf("|[LIST]|[*]|[*]|[/LIST]|");
        const QString tooMany = "Beitragsbox|0|Zu viele Listenpunkte";
        QTest::newRow("list 2") << "list" << false << "2"
                                << "ab" << 1 << 0 << "a" + frame2 + "b" << 31 << none;
        QTest::newRow("list 3") << "list" << false << "3"
                                << "" << 0 << 0 << crlf("|[LIST]|[*]|[*]|[*]|[/LIST]|") << 34
                                << none;
        QTest::newRow("list 0") << "list" << false << "0"
                                << "ab" << 1 << 0 << "ab" << 1 << none;
        QTest::newRow("list cancel") << "list" << false << ""
                                     << "ab" << 1 << 0 << "ab" << 1 << none;
        QTest::newRow("list word") << "list" << false << "drei"
                                   << "ab" << 1 << 0 << "ab" << 1 << none;
        QTest::newRow("list 256") << "list" << false << "256"
                                  << "ab" << 1 << 0 << "ab" << 1 << tooMany;
        QTest::newRow("list 9e9") << "list" << false << "9e9"
                                  << "ab" << 1 << 0 << "ab" << 1 << tooMany;
        QTest::newRow("list 1000 reads 100")
            << "list" << false << "1000"
            << "" << 0 << 0 << crlf("|[LIST]" + QString("|[*]").repeated(100) + "|[/LIST]|") << 519
            << none;
        QTest::newRow("list blank 7")
            << "list" << false << " 7"
            << "" << 0 << 0 << crlf("|[LIST]" + QString("|[*]").repeated(7) + "|[/LIST]|") << 54
            << none;
        QTest::newRow("list -2") << "list" << false << "-2"
                                 << "" << 0 << 0 << crlf("|[LIST]|[/LIST]|") << 19 << none;
        QTest::newRow("list 2.5") << "list" << false << "2.5"
                                  << "" << 0 << 0 << frame2 << 29 << none;
        QTest::newRow("list 3.5") << "list" << false << "3.5"
                                  << "" << 0 << 0 << crlf("|[LIST]|[*]|[*]|[*]|[*]|[/LIST]|") << 39
                                  << none;
        QTest::newRow("list replaces sel") << "list" << false << "2"
                                           << "aXXb" << 1 << 2 << "a" + frame2 + "b" << 31 << none;
    }

    void command() {
        QFETCH(QString, command);
        QFETCH(bool, autoQuote);
        QFETCH(QString, clip);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, after);
        QFETCH(int, caret);
        QFETCH(QString, message);

        QGuiApplication::clipboard()->setText(clip);
        boxes::seam().inputAnswers.push_back(clip);
        PlainEditBuffer buffer(text);
        buffer.setSelStart(selStart);
        buffer.setSelLength(selLength);
        const bool changes = after != text;
        if (command == "quote")
            commands::quote(buffer, autoQuote);
        else if (command == "bold")
            commands::bold(buffer);
        else if (command == "italic")
            commands::italic(buffer);
        else if (command == "link")
            commands::link(buffer);
        else
            commands::list(buffer);

        QCOMPARE(buffer.Text(), after);
        QCOMPARE(buffer.SelStart(), caret);
        QCOMPARE(buffer.SelLength(), changes ? 0 : selLength);
        // A list that stops early leaves the focus where it was.
        QCOMPARE(buffer.focusCalls(), changes ? 1 : 0);
        QCOMPARE(boxes::seam().messages.join(QLatin1Char('\n')), message);
        if (command == "list")
            QCOMPARE(boxes::seam().inputPrompts,
                     QStringList{QStringLiteral("Liste anlegen|Wieviele Listenpunkte?")});
    }

    void listOf255Items() {
        boxes::seam().inputAnswers.push_back(QStringLiteral("255"));
        PlainEditBuffer buffer;
        commands::list(buffer);
        QCOMPARE(buffer.Text().count(QLatin1String("[*]")), 255);
        QVERIFY(boxes::seam().messages.isEmpty());
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
