// The tag primitives and the edit buffer, on the plain buffer and on the bound text widget.
#include "markup/TagPrimitives.h"
#include "markup/Text1Buffer.h"
#include "platform/clipboard.h"

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QtTest>

namespace {
QString crlf(QString s) {
    return s.replace(QLatin1String("|"), QLatin1String("\r\n"));
}
QString escaped(QString s) {
    return s.replace(QLatin1String("\r"), QLatin1String("\\r"))
        .replace(QLatin1String("\n"), QLatin1String("\\n"));
}
} // namespace

class TestEditBuffer : public QObject {
    Q_OBJECT

    QPlainTextEdit m_edit;

    // Both buffers run every worked example.
    std::unique_ptr<EditBuffer> makeBuffer(bool widget, const QString& text) {
        if (!widget)
            return std::make_unique<PlainEditBuffer>(text);
        m_edit.clear();
        auto buffer = std::make_unique<Text1Buffer>(&m_edit);
        buffer->setText(text);
        return buffer;
    }

private slots:
    void buildTag_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty bold") << ""
                                    << "B"
                                    << ""
                                    << "[B][/B]";
        QTest::newRow("empty quote") << ""
                                     << "QUOTE"
                                     << ""
                                     << "[QUOTE][/QUOTE]";
        QTest::newRow("italic") << "Welt"
                                << "I"
                                << ""
                                << "[I]Welt[/I]";
        QTest::newRow("empty url") << ""
                                   << "URL"
                                   << "ziel"
                                   << "[URL=ziel][/URL]";
        QTest::newRow("url") << "hier"
                             << "URL"
                             << "ziel"
                             << "[URL=ziel]hier[/URL]";
        QTest::newRow("verbatim param") << "a\r\nb"
                                        << "URL"
                                        << "x]=y"
                                        << "[URL=x]=y]a\r\nb[/URL]";
    }
    void buildTag() {
        QFETCH(QString, text);
        QFETCH(QString, tag);
        QFETCH(QString, param);
        QFETCH(QString, result);
        QCOMPARE(strBuildTag(text, tag, param), result);
    }

    void replaceRange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("insert");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("len");
        QTest::addColumn<QString>("result");
        QTest::newRow("middle") << "abcdef"
                                << "XY" << 3 << 2 << "abXYef";
        QTest::newRow("front") << "abc"
                               << "X" << 1 << 0 << "Xabc";
        QTest::newRow("append") << "abc"
                                << "X" << 4 << 0 << "abcX";
        QTest::newRow("past end") << "abc"
                                  << "X" << 2 << 9 << "aX";
        QTest::newRow("two past end") << "abc"
                                      << "X" << 5 << 0 << "abc";
        QTest::newRow("zero") << "abc"
                              << "X" << 0 << 0 << "abc";
        QTest::newRow("empty text") << ""
                                    << "X" << 1 << 0 << "X";
    }
    void replaceRange() {
        QFETCH(QString, text);
        QFETCH(QString, insert);
        QFETCH(int, pos);
        QFETCH(int, len);
        QFETCH(QString, result);
        QCOMPARE(strReplaceRange(text, insert, pos, len), result);
        PlainEditBuffer plain(text);
        plain.ReplaceRange(insert, pos, len);
        QCOMPARE(plain.Text(), result);
        auto bound = makeBuffer(true, text);
        bound->setSelStart(text.size());
        bound->ReplaceRange(insert, pos, len);
        QCOMPARE(bound->Text(), result);
        QCOMPARE(bound->SelStart(), 0);
    }

    void wrapSelection_data() {
        QTest::addColumn<bool>("widget");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("param");
        QTest::addColumn<bool>("between");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        for (bool widget : {false, true}) {
            const char* kind = widget ? "widget" : "plain";
            auto row = [&](const char* name) {
                return &(QTest::addRow("%s: %s", kind, name) << widget);
            };
            *row("bold at caret") << "Hallo Welt" << 6 << 0 << "B"
                                  << "" << false << "Hallo [B][/B]Welt" << 13;
            *row("bold selection") << "Hallo Welt" << 6 << 4 << "B"
                                   << "" << true << "Hallo [B]Welt[/B]" << 17;
            *row("quote between") << "Hallo Welt" << 6 << 0 << "QUOTE"
                                  << "" << true << "Hallo [QUOTE][/QUOTE]Welt" << 13;
            *row("url at end") << "Hallo Welt" << 10 << 0 << "URL"
                               << "ziel" << true << "Hallo Welt[URL=ziel][/URL]" << 20;
            *row("empty buffer") << "" << 0 << 0 << "B"
                                 << "" << false << "[B][/B]" << 7;
            *row("whole text") << "abc" << 0 << 3 << "I"
                               << "" << false << "[I]abc[/I]" << 10;
            *row("across breaks") << crlf("ab|c|d") << 1 << 6 << "B"
                                  << "" << false << crlf("a[B]b|c|[/B]d") << 14;
            *row("after umlaut and emoji") << QString::fromUtf8("ä😀|x") << 5 << 0 << "B"
                                           << "" << false << QString::fromUtf8("ä😀|x[B][/B]") << 12;
            *row("empty lines") << crlf("||") << 2 << 0 << "B"
                                << "" << true << crlf("|[B][/B]|") << 5;
        }
    }
    void wrapSelection() {
        QFETCH(bool, widget);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, tag);
        QFETCH(QString, param);
        QFETCH(bool, between);
        QFETCH(QString, after);
        QFETCH(int, caret);
        auto buffer = makeBuffer(widget, text);
        buffer->setSelStart(selStart);
        buffer->setSelLength(selLength);
        QCOMPARE(buffer->SelLength(), selLength);
        WrapSelection(*buffer, tag, param,
                      between ? CaretRule::BetweenTags : CaretRule::AfterClosingTag);
        QCOMPARE(escaped(buffer->Text()), escaped(after));
        QCOMPARE(buffer->SelStart(), caret);
        QCOMPARE(buffer->SelLength(), 0);
    }

    void selectionRules_data() {
        QTest::addColumn<bool>("widget");
        QTest::newRow("plain") << false;
        QTest::newRow("widget") << true;
    }
    void selectionRules() {
        QFETCH(bool, widget);
        auto buffer = makeBuffer(widget, crlf("ab|cd"));
        buffer->setSelStart(99);
        QCOMPARE(buffer->SelStart(), 6);
        buffer->setSelStart(1);
        buffer->setSelLength(99);
        QCOMPARE(buffer->SelLength(), 5);
        QCOMPARE(buffer->SelText(), crlf("b|cd"));
        buffer->setSelStart(0);
        QCOMPARE(buffer->SelLength(), 0);
        QCOMPARE(buffer->SelText(), QString());
        buffer->setText(QStringLiteral("xyz"));
        QCOMPARE(buffer->SelStart(), 0);
        QCOMPARE(buffer->TextLength(), 3);
    }

    // The widget keeps paragraph breaks; reading gives CR LF, lone CR and LF become breaks.
    void bindingLineBreaks() {
        auto buffer = makeBuffer(true, QStringLiteral("a\rb\nc\r\nd"));
        QCOMPARE(escaped(buffer->Text()), escaped(crlf("a|b|c|d")));
        QCOMPARE(m_edit.blockCount(), 4);
        QCOMPARE(buffer->TextLength(), 10);
        // Non-breaking spaces and line separators come back as they went in.
        const QString special = QString(QChar::Nbsp) + QChar::LineSeparator;
        buffer->setText(special);
        QCOMPARE(buffer->Text(), special);
    }

    // Random splices and selections on the widget agree with the plain rules, offsets inside a
    // CR LF pair and inside surrogate pairs included.
    void bindingAgreesWithPlainRules() {
        const QString pieces[] = {QStringLiteral("a"),    QStringLiteral("\r\n"),
                                  QStringLiteral("\r"),   QStringLiteral("\n"),
                                  QString::fromUtf8("ä"), QString::fromUtf8("😀"),
                                  QStringLiteral(" ")};
        QRandomGenerator rng(4711);
        auto randomText = [&](int maxPieces) {
            QString s;
            for (int n = int(rng.bounded(maxPieces + 1)); n > 0; --n)
                s += pieces[rng.bounded(int(std::size(pieces)))];
            return s;
        };
        auto buffer = makeBuffer(true, QString());
        QString expected;
        for (int round = 0; round < 3000; ++round) {
            const int n = int(expected.size());
            switch (rng.bounded(3)) {
            case 0: {
                const QString insert = randomText(4);
                const int pos = int(rng.bounded(n + 3));
                const int len = int(rng.bounded(n + 2));
                buffer->ReplaceRange(insert, pos, len);
                expected = clipboard::toCrLf(strReplaceRange(expected, insert, pos, len));
                if (expected.size() > 200)
                    expected.clear(), buffer->setText(QString());
                break;
            }
            case 1: {
                const QString text = clipboard::toCrLf(randomText(30));
                buffer->setText(text);
                expected = text;
                break;
            }
            default: {
                const int start = int(rng.bounded(n + 2));
                const int length = int(rng.bounded(n + 2));
                buffer->setSelStart(start);
                buffer->setSelLength(length);
                int s = std::min(start, n);
                if (s > 0 && s < n && expected[s - 1] == u'\r' && expected[s] == u'\n')
                    --s; // a caret cannot stand inside a line break
                QCOMPARE(buffer->SelStart(), s);
                int e = std::min(s + length, n);
                if (e > 0 && e < n && expected[e - 1] == u'\r' && expected[e] == u'\n')
                    --e;
                QCOMPARE(buffer->SelText(), expected.mid(s, e - s));
                continue;
            }
            }
            QCOMPARE(escaped(buffer->Text()), escaped(expected));
            QCOMPARE(buffer->TextLength(), expected.size());
            QCOMPARE(buffer->SelStart(), 0);
        }
    }

    // A write is one undo step, and undo brings back exactly the old text.
    void bindingUndoStep() {
        auto buffer = makeBuffer(true, QString());
        m_edit.document()->clearUndoRedoStacks();
        m_edit.insertPlainText(QStringLiteral("abc\ndef"));
        const QString before = buffer->Text();
        buffer->setSelStart(1);
        buffer->setSelLength(4);
        WrapSelection(*buffer, QStringLiteral("B"), QString(), CaretRule::AfterClosingTag);
        buffer->setText(crlf("x||y")); // several changes at once
        m_edit.undo();
        QCOMPARE(escaped(buffer->Text()), escaped(crlf("a[B]bc|[/B]def")));
        m_edit.undo();
        QCOMPARE(buffer->Text(), before);
        m_edit.redo();
        QCOMPARE(escaped(buffer->Text()), escaped(crlf("a[B]bc|[/B]def")));
    }
};

QTEST_MAIN(TestEditBuffer)
#include "tst_editbuffer.moc"
