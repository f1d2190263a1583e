// The keys of the edit field, through real key events on the real main window.
#include "app/Form1.h"
#include "markup/Text1Buffer.h"
#include "markup/TextField.h"
#include "platform/boxes.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString crlf(QString s) {
    return s.replace(QLatin1String("|"), QLatin1String("\r\n"));
}
} // namespace

class TestText1Keys : public QObject {
    Q_OBJECT

    Form1* m_form = nullptr;
    QTemporaryDir m_dir;
    QString m_oldCwd;

    void press(int key, Qt::KeyboardModifiers modifiers, const QString& text = QString()) {
        QTest::sendKeyEvent(QTest::Click, m_form->Text1, Qt::Key(key), text, modifiers);
    }
    EditBuffer& buffer() { return m_form->buffer(); }

    QByteArray readFile(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_oldCwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        m_form = Form1::Load();
        m_form->show();
        m_form->Text1->setFocus();
    }
    void cleanupTestCase() {
        m_form->Unload(1);
        QDir::setCurrent(m_oldCwd);
    }
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

        const int ctrl = Qt::ControlModifier;
        const QString hw = "Hallo Welt";
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << ctrl << "" << hw << 0 << 5
                                << "[B]Hallo[/B] Welt" << 12 << 0;
        QTest::newRow("Ctrl+F") << int(Qt::Key_F) << ctrl << "" << hw << 0 << 5
                                << "[B]Hallo[/B] Welt" << 12 << 0;
        // Ctrl+K and Ctrl+U are line-deleting keys of the widget; the action must stand.
        QTest::newRow("Ctrl+K") << int(Qt::Key_K) << ctrl << "" << hw << 0 << 5
                                << "[I]Hallo[/I] Welt" << 12 << 0;
        QTest::newRow("Ctrl+U") << int(Qt::Key_U) << ctrl << "" << hw << 6 << 0
                                << "Hallo [URL=http://www.x.de][/URL]Welt" << 27 << 0;
        QTest::newRow("Ctrl+Q") << int(Qt::Key_Q) << ctrl << "" << hw << 0 << 0
                                << "[QUOTE][/QUOTE]Hallo Welt" << 7 << 0;
        QTest::newRow("Ctrl+Shift+Q") << int(Qt::Key_Q) << int(ctrl | Qt::ShiftModifier) << "" << hw
                                      << 0 << 0 << "[QUOTE][/QUOTE]Hallo Welt" << 7 << 0;
        QTest::newRow("Ctrl+Alt+Q") << int(Qt::Key_Q) << int(ctrl | Qt::AltModifier) << "" << hw
                                    << 0 << 0 << "[QUOTE][/QUOTE]Hallo Welt" << 7 << 0;
        QTest::newRow("Ctrl+L") << int(Qt::Key_L) << ctrl << ""
                                << "ab" << 1 << 0 << "a" + crlf("|[LIST]|[*]|[*]|[/LIST]|") + "b"
                                << 31 << 0;
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << "" << crlf("ab|c") << 2 << 0
                                << crlf("ab|c") << 0 << 5;
        QTest::newRow("Ctrl+A empty") << int(Qt::Key_A) << ctrl << ""
                                      << "" << 0 << 0 << "" << 0 << 0;
        QTest::newRow("Ctrl+E") << int(Qt::Key_E) << ctrl << "" << crlf("ab|c") << 0 << 2
                                << crlf("ab|c") << 5 << 0;
        QTest::newRow("F9") << int(Qt::Key_F9) << 0 << "" << crlf("abcd||[QUOTE]x") << 9 << 0
                            << crlf("abcd|[QUOTE]x") << 0 << 0;
        QTest::newRow("Shift+Alt+F9")
            << int(Qt::Key_F9) << int(Qt::ShiftModifier | Qt::AltModifier) << ""
            << crlf("[/QUOTE]||x") << 3 << 0 << crlf("[/QUOTE]|x") << 0 << 0;
        // Without Ctrl the letters are typed.
        QTest::newRow("q") << int(Qt::Key_Q) << 0 << "q"
                           << "ab" << 1 << 0 << "aqb" << 2 << 0;
        QTest::newRow("Shift+B") << int(Qt::Key_B) << int(Qt::ShiftModifier) << "B"
                                 << "" << 0 << 0 << "B" << 1 << 0;
        // AltGr arrives as its own key with the group switch, not as Ctrl+Alt.
        QTest::newRow("AltGr+Q") << int(Qt::Key_At) << int(Qt::GroupSwitchModifier) << "@"
                                 << "ab" << 1 << 0 << "a@b" << 2 << 0;
        QTest::newRow("AltGr+E") << 0x20AC << int(Qt::GroupSwitchModifier) << QString::fromUtf8("€")
                                 << "ab" << 2 << 0 << QString::fromUtf8("ab€") << 3 << 0;
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

    void autoQuoteFromKey() {
        m_form->Check1->setChecked(true);
        QGuiApplication::clipboard()->setText(QStringLiteral("Zitat"));
        buffer().setText(QString());
        press(Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(buffer().Text(), QStringLiteral("[QUOTE]Zitat[/QUOTE]"));
        QCOMPARE(buffer().SelStart(), 20);
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

    void saveCopy() {
        buffer().setText(QString::fromUtf8("erst"));
        press(Qt::Key_S, Qt::ControlModifier);
        buffer().setText(QString::fromUtf8("Grüße\r\n😀"));
        buffer().setSelStart(3);
        press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(readFile(QStringLiteral("usersave.txt")), QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                                      "e\r\n\xf0\x9f\x98\x80\r\n"));
        QCOMPARE(buffer().SelStart(), 3);
        QVERIFY(boxes::seam().messages.isEmpty());
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
        QVERIFY2(message.startsWith(QStringLiteral("Beitragsbox|0|")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\"usersave.txt\"")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("Ordner")), qPrintable(message));
        QCOMPARE(buffer().Text(), QStringLiteral("bleibt"));
        QCOMPARE(buffer().SelStart(), 2);
        QVERIFY(QFileInfo(QStringLiteral("usersave.txt")).isDir());
        QDir().rmdir(QStringLiteral("usersave.txt"));
    }
};

QTEST_MAIN(TestText1Keys)
#include "tst_text1keys.moc"
