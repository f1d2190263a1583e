// The edit buffer bound to the text widget, against the plain rules of the tag primitives.
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "text/TagPrimitives.h"

#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QtTest>

#include "support.h"

class TestEditBuffer : public QObject {
    Q_OBJECT

    QPlainTextEdit m_edit;

    std::unique_ptr<EditFieldBuffer> makeBuffer(const QString& text) {
        m_edit.clear();
        auto buffer = std::make_unique<EditFieldBuffer>(&m_edit);
        buffer->setText(text);
        return buffer;
    }

private slots:
    // The widget binding agrees with this function: bindingAgreesWithPlainRules.
    void replaceRange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("len");
        QTest::addColumn<QString>("result");
        QTest::newRow("middle") << "abcdef" << 3 << 2 << "abXef";
        QTest::newRow("position 1") << "abc" << 1 << 0 << "Xabc";
        QTest::newRow("length + 1 appends") << "abc" << 4 << 0 << "abcX";
        QTest::newRow("length + 2 ignored") << "abc" << 5 << 0 << "abc";
        QTest::newRow("position 0 ignored") << "abc" << 0 << 0 << "abc";
        QTest::newRow("length past the end") << "abc" << 2 << 9 << "aX";
    }
    void replaceRange() {
        QFETCH(QString, text);
        QFETCH(int, pos);
        QFETCH(int, len);
        QFETCH(QString, result);
        QCOMPARE(strReplaceRange(text, "X", pos, len), result);
    }

    // Separators other than CR and LF stay as they are (those two: the random test below).
    void bindingKeepsOtherSeparators() {
        const QString separators = QString(QChar::Nbsp) + QChar::LineSeparator;
        QCOMPARE(makeBuffer(separators)->Text(), separators);
    }

    // Random splices and selections on the widget agree with the plain rules, offsets inside a
    // CR LF pair and inside surrogate pairs included.
    void bindingAgreesWithPlainRules() {
        const QString pieces[] = {
            "a", "\r\n", "\r", "\n", QString::fromUtf8("ä"), QString::fromUtf8("😀"), " "};
        QRandomGenerator rng(4711);
        auto randomText = [&](int maxPieces) {
            QString s;
            for (int n = int(rng.bounded(maxPieces + 1)); n > 0; --n)
                s += pieces[rng.bounded(int(std::size(pieces)))];
            return s;
        };
        auto buffer = makeBuffer(QString());
        QString expected;
        for (int round = 0; round < 3000; ++round) {
            const int n = int(expected.size());
            const int a = int(rng.bounded(n + 3)), b = int(rng.bounded(n + 2));
            const int kind = int(rng.bounded(3));
            if (kind == 2) {
                buffer->setSelStart(a);
                buffer->setSelLength(b);
                // A caret cannot stand inside a line break.
                const auto outside = [&](int i) {
                    return i < n && expected[i] == u'\n' ? i - 1 : std::min(i, n);
                };
                const int s = outside(a), e = outside(s + b);
                QCOMPARE(buffer->SelStart(), s);
                QCOMPARE(buffer->SelText(), expected.mid(s, e - s));
                continue;
            }
            const QString text = randomText(kind == 0 ? 4 : 30);
            if (kind == 0)
                buffer->ReplaceRange(text, a, b);
            else
                buffer->setText(text);
            expected = toCrLf(kind == 0 ? strReplaceRange(expected, text, a, b) : text);
            if (expected.size() > 200)
                expected.clear(), buffer->setText(QString());
            QCOMPARE(buffer->Text(), expected);
            QCOMPARE(buffer->TextLength(), expected.size());
            QCOMPARE(buffer->SelStart(), 0);
        }
    }

    // A write is one undo step, and undo brings back exactly the old text.
    void bindingUndoStep() {
        auto buffer = makeBuffer(QString());
        m_edit.document()->clearUndoRedoStacks();
        m_edit.insertPlainText(QStringLiteral("abc\ndef"));
        const QString before = buffer->Text();
        buffer->setSelStart(1);
        buffer->setSelLength(4);
        WrapSelection(*buffer, QStringLiteral("B"), QString(), CaretRule::AfterClosingTag);
        buffer->setText(crlf("abc|def")); // two deletions, one step
        m_edit.undo();
        QCOMPARE(buffer->Text(), crlf("a[B]bc|[/B]def"));
        m_edit.undo();
        QCOMPARE(buffer->Text(), before);
        m_edit.redo();
        QCOMPARE(buffer->Text(), crlf("a[B]bc|[/B]def"));

        // Deletions in the widget's own text: one step too, the caret at the start.
        const QString tidied = buffer->Text();
        buffer->setSelStart(5);
        buffer->removeFromRawText({{1, 3, {}}, {5, 1, {}}, {9, 2, {}}});
        QCOMPARE(buffer->Text(), crlf("ab|[/def"));
        QCOMPARE(buffer->SelStart(), 0);
        m_edit.undo();
        QCOMPARE(buffer->Text(), tidied);
    }

    void fileBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("breaks") << QStringLiteral("a\u2029\u2029b\u2029");
        QTest::newRow("lone surrogates at the breaks")
            << (QStringLiteral("a") + QChar(0xD83D) + QChar::ParagraphSeparator + QChar(0xDE00) +
                QStringLiteral("b") + QChar(0xD83D));
    }
    // The file's bytes: each break as CR LF, UTF-8 as Qt writes it, one CR LF at the end.
    void fileBytes() {
        QFETCH(QString, text);
        QString crlf = text;
        crlf.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
        QCOMPARE(::fileBytes(text), crlf.toUtf8() + "\r\n");
    }

    void paste_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        QTest::addColumn<int>("selectionStart");
        QTest::newRow("every kind of line break")
            << QStringLiteral("a\r\nb\nc\rd\u2029e") << QString() << 6;
        QTest::newRow("text of a web page") << QStringLiteral("fett") << "<b>fett</b>" << 10;
    }
    // The edit field pastes as Qt's own edit field does: the same text and caret, plain text
    // only, and one undo step.
    void paste() {
        QFETCH(QString, text);
        QFETCH(QString, html);
        QFETCH(int, selectionStart);
        TextField field;
        QPlainTextEdit reference;
        const QString original = QStringLiteral("Hallo Welt");
        QString results[2];
        int carets[2];
        int i = 0;
        for (QPlainTextEdit* edit : {static_cast<QPlainTextEdit*>(&field), &reference}) {
            edit->setPlainText(original);
            QTextCursor cursor = edit->textCursor();
            cursor.setPosition(selectionStart);
            cursor.setPosition(int(original.size()), QTextCursor::KeepAnchor);
            edit->setTextCursor(cursor);
            auto* mime = new QMimeData;
            mime->setText(text);
            if (!html.isEmpty())
                mime->setHtml(html);
            QGuiApplication::clipboard()->setMimeData(mime);
            edit->paste();
            results[i] = edit->document()->toRawText();
            carets[i++] = edit->textCursor().position();
        }
        QCOMPARE(results[0], results[1]);
        QCOMPARE(carets[0], carets[1]);
        QVERIFY(results[0].contains(text.left(1)));
        field.undo();
        QCOMPARE(field.toPlainText(), original);
        QVERIFY(!field.document()->isUndoAvailable());
    }
};

BEITRAGSBOX_TEST_MAIN(TestEditBuffer)
#include "tst_editbuffer.moc"
