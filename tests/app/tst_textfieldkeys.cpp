// The keys of the edit field, through real key events on the real main window.
#include "app/Form1.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "platform/boxes.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "support.h"

class TestTextFieldKeys : public QObject {
    Q_OBJECT

    Form1* m_form = nullptr;
    QTemporaryDir m_dir;

    void press(int key, Qt::KeyboardModifiers modifiers, const QString& text = QString()) {
        QTest::sendKeyEvent(QTest::Click, m_form->Text1, Qt::Key(key), text, modifiers);
    }
    EditBuffer& buffer() { return m_form->buffer(); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QDir::setCurrent(m_dir.path());
        m_form = Form1::Load();
        m_form->show();
        m_form->Text1->setFocus();
    }
    void cleanupTestCase() { m_form->Unload(1); }
    void init() {
        boxes::seam().reset();
        boxes::seam().active = true;
        m_form->Check1->setChecked(false);
    }

    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("selAfter");
        // "|" stands for CR LF.
        const auto row = [](const char* name, int key, int modifiers, const QString& typed,
                            const QString& text, int start, int length, const QString& after,
                            int caret, int selAfter = 0) {
            QTest::newRow(name) << key << modifiers << typed << crlf(text) << start << length
                                << crlf(after) << caret << selAfter;
        };
        const int ctrl = Qt::ControlModifier, alt = Qt::AltModifier, shift = Qt::ShiftModifier;
        const int altGr = Qt::GroupSwitchModifier;
        const char* hw = "Hallo Welt";
        row("Ctrl+B", Qt::Key_B, ctrl, "", hw, 0, 5, "[B]Hallo[/B] Welt", 12);
        row("Ctrl+F", Qt::Key_F, ctrl, "", hw, 0, 5, "[B]Hallo[/B] Welt", 12);
        // Ctrl+K and Ctrl+U are line-deleting keys of the widget; the action must stand.
        row("Ctrl+K", Qt::Key_K, ctrl, "", hw, 0, 5, "[I]Hallo[/I] Welt", 12);
        row("Ctrl+U", Qt::Key_U, ctrl, "", hw, 6, 0, "Hallo [URL=http://www.x.de][/URL]Welt", 27);
        row("Ctrl+Q", Qt::Key_Q, ctrl, "", hw, 0, 0, "[QUOTE][/QUOTE]Hallo Welt", 7);
        row("Ctrl+Alt+Q", Qt::Key_Q, ctrl | alt, "", hw, 0, 0, "[QUOTE][/QUOTE]Hallo Welt", 7);
        row("Ctrl+L", Qt::Key_L, ctrl, "", "ab", 1, 0, "a|[LIST]|[*]|[*]|[/LIST]|b", 31);
        row("Ctrl+A", Qt::Key_A, ctrl, "", "ab|c", 2, 0, "ab|c", 0, 5);
        row("Ctrl+E", Qt::Key_E, ctrl, "", "ab|c", 0, 2, "ab|c", 5);
        row("Shift+Alt+F9", Qt::Key_F9, shift | alt, "", "[/QUOTE]||x", 3, 0, "[/QUOTE]|x", 0);
        // Seven breaks before the first tag: the search goes on beyond the second one.
        row("F9", Qt::Key_F9, 0, "", "x|||||||[QUOTE]||[QUOTE]y[/QUOTE]|||z", 9, 0,
            "x|[QUOTE]||[QUOTE]y[/QUOTE]|z", 0);
        // Without Ctrl the letters are typed; AltGr arrives as its own key with the group
        // switch, not as Ctrl+Alt.
        row("q", Qt::Key_Q, 0, "q", "ab", 1, 0, "aqb", 2);
        row("AltGr+Q", Qt::Key_At, altGr, "@", "ab", 1, 0, "a@b", 2);
        row("AltGr+E", 0x20AC, altGr, "€", "ab", 2, 0, "ab€", 3);
    }
    void keys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, after);
        QFETCH(int, caret);
        QFETCH(int, selAfter);

        QGuiApplication::clipboard()->setText(QStringLiteral("www.x.de"));
        boxes::seam().inputAnswers.push_back(QStringLiteral("2"));
        buffer().setText(text);
        buffer().setSelStart(selStart);
        buffer().setSelLength(selLength);
        press(key, Qt::KeyboardModifiers(modifiers), typed);
        QCOMPARE(buffer().Text(), after);
        QCOMPARE(buffer().SelStart(), caret);
        QCOMPARE(buffer().SelLength(), selAfter);
        QVERIFY(boxes::seam().messages.isEmpty());
    }

    void viewStays_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Ctrl+B") << int(Qt::Key_B);
        QTest::newRow("Ctrl+K") << int(Qt::Key_K);
        QTest::newRow("Ctrl+Q") << int(Qt::Key_Q);
        QTest::newRow("Ctrl+U") << int(Qt::Key_U);
    }
    // A command on a visible word leaves the view where it is.
    void viewStays() {
        QFETCH(int, key);
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines << QStringLiteral("Zeile %1 mit etwas Text").arg(i);
        buffer().setText(lines.join(QStringLiteral("\r\n")));
        QScrollBar* bar = m_form->Text1->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        const int top = bar->value();
        QVERIFY(top > 100);
        QTextCursor word = m_form->Text1->cursorForPosition(QPoint(20, 30));
        word.select(QTextCursor::WordUnderCursor);
        m_form->Text1->setTextCursor(word);
        QCOMPARE(bar->value(), top);
        press(key, Qt::ControlModifier);
        QVERIFY(buffer().Text().contains(QStringLiteral("[/")));
        QCOMPARE(bar->value(), top);
        QCoreApplication::processEvents();
        QCOMPARE(bar->value(), top);
    }

    // A command is one undo step; Ctrl+Y redoes it.
    void undoAndRedo() {
        buffer().setText(QString());
        m_form->Text1->document()->clearUndoRedoStacks();
        QTest::keyClicks(m_form->Text1, QStringLiteral("Hallo"));
        buffer().setSelStart(0);
        buffer().setSelLength(5);
        press(Qt::Key_B, Qt::ControlModifier);
        press(Qt::Key_F9, Qt::NoModifier); // no change: no undo step of its own
        QCOMPARE(buffer().Text(), QStringLiteral("[B]Hallo[/B]"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(buffer().Text(), QStringLiteral("Hallo"));
        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(buffer().Text(), QStringLiteral("[B]Hallo[/B]"));
    }

    // Ctrl+S writes the text as UTF-8 with a final line break; a second save replaces the first.
    void saveCopy() {
        buffer().setText(QStringLiteral("zuerst ein viel längerer Text"));
        press(Qt::Key_S, Qt::ControlModifier);
        buffer().setText(QString::fromUtf8("Grüße\r\n😀"));
        buffer().setSelStart(3);
        press(Qt::Key_S, Qt::ControlModifier);
        QFile file(QStringLiteral("usersave.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Grüße\r\n😀\r\n"));
        QCOMPARE(buffer().SelStart(), 3);
    }

    // A save that cannot be written tells the user, names the file and keeps the text.
    void saveCopyFails() {
        QFile::remove(QStringLiteral("usersave.txt"));
        QVERIFY(QDir().mkdir(QStringLiteral("usersave.txt")));
        buffer().setText(QStringLiteral("bleibt"));
        buffer().setSelStart(2);
        press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(boxes::seam().messages.size(), 1);
        const QString message = boxes::seam().messages.first();
        QVERIFY2(message.startsWith(QStringLiteral("Beitragsbox|0|")) &&
                     message.contains(QStringLiteral("\"usersave.txt\"")),
                 qPrintable(message));
        QCOMPARE(buffer().Text(), QStringLiteral("bleibt"));
        QCOMPARE(buffer().SelStart(), 2);
        QDir().rmdir(QStringLiteral("usersave.txt"));
    }
};

BEITRAGSBOX_TEST_MAIN(TestTextFieldKeys)
#include "tst_textfieldkeys.moc"
