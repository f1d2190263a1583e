// Quick texts and smilies: loading from their files and insertion into the edit buffer.
#include "markup/EditBuffer.h"
#include "snippets/QuickTexts.h"
#include "snippets/Smilies.h"

#include <QtTest>

#include "support.h"

class TestSnippets : public QObject {
    Q_OBJECT

    TestFolders m_folders;

private slots:
    void quickTextFiles_data() {
        QTest::addColumn<QByteArray>("bytes"); // "-" for no file at all
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("entry");
        QTest::newRow("5 bytes") << QByteArray("Hallo") << "Hallo"
                                 << "3 Hallo";
        QTest::newRow("40 characters")
            << QByteArray(40, 'x') << QString(40, u'x') << "3 " + QString(15, u'x');
        QTest::newRow("empty file") << QByteArray() << ""
                                    << "3 ";
        QTest::newRow("missing file") << QByteArray("-") << ""
                                      << "3 ";
        QTest::newRow("LF becomes CR LF") << QByteArray("a\nb") << "a\r\nb"
                                          << "3 a\r\nb";
        QTest::newRow("Windows-1252")
            << QByteArray("Gr\xfc\xdf") << QString::fromUtf8("Grüß") << QString::fromUtf8("3 Grüß");
        // An emoji across the 15th character is left out whole.
        QTest::newRow("no half emoji")
            << (QByteArray(14, 'x') + "\xf0\x9f\x98\x80")
            << QString(14, u'x') + QString::fromUtf8("😀") << "3 " + QString(14, u'x');
    }
    void quickTextFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, entry);
        QFile::remove(quicktexts::fileName(3));
        if (bytes != "-")
            QVERIFY(writeFile(QStringLiteral("user3.txt"), bytes));
        QCOMPARE(quicktexts::load(3), text);
        QCOMPARE(quicktexts::comboEntry(3, text), entry);
        QCOMPARE(QFile::exists(QStringLiteral("user3.txt")), bytes != "-");
    }

    void separators() {
        const auto s = quicktexts::separators();
        QCOMPARE(s[0], QString(112, u'-'));
        QCOMPARE(s[1], QString(63, u'='));
        QCOMPARE(s[2], QString(90, u'*'));
        QCOMPARE(quicktexts::comboEntry(10, s[0]), QStringLiteral("------"));
        QCOMPARE(quicktexts::comboEntry(11, s[1]), QStringLiteral("======"));
        QCOMPARE(quicktexts::comboEntry(12, s[2]), QStringLiteral("******"));
    }

    void insertQuickText_data() {
        QTest::addColumn<QString>("quick");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        QTest::newRow("at caret") << "XY" << 5 << 0 << "ABCDEXYFGHIJ" << 7;
        QTest::newRow("over selection") << "XY" << 5 << 5 << "ABCDEXY" << 7;
        QTest::newRow("empty quick text") << "" << 5 << 2 << "ABCDEHIJ" << 5;
        QTest::newRow("ending in a break") << "x\r\n" << 0 << 0 << "x\r\nABCDEFGHIJ" << 3;
    }
    void insertQuickText() {
        QFETCH(QString, quick);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, after);
        QFETCH(int, caret);
        PlainEditBuffer buffer(QStringLiteral("ABCDEFGHIJ"));
        buffer.setSelStart(selStart);
        buffer.setSelLength(selLength);
        quicktexts::insert(buffer, quick);
        QCOMPARE(buffer.Text(), after);
        QCOMPARE(buffer.SelStart(), caret);
        QCOMPARE(buffer.focusCalls(), 1);
    }

    void loadSmilies_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("two") << QByteArray("[SMILIES]\r\nSmiley001=:smile:\r\nSmiley002=:wink:\r\n")
                             << QStringList{"smile", "wink"};
        QTest::newRow("gap ends the list")
            << QByteArray("[SMILIES]\r\nSmiley001=:a:\r\nSmiley003=:c:\r\n") << QStringList{"a"};
        QTest::newRow("empty value ends the list")
            << QByteArray("[SMILIES]\r\nSmiley001=:a:\r\nSmiley002=\r\nSmiley003=:c:\r\n")
            << QStringList{"a"};
        QTest::newRow("two colons")
            << QByteArray("[SMILIES]\r\nSmiley001=::\r\n") << QStringList{""};
        QTest::newRow("one character passed over")
            << QByteArray("[SMILIES]\r\nSmiley001=x\r\nSmiley002=#ok#\r\n") << QStringList{"ok"};
        // The number keeps three digits at least: Smiley1000 follows Smiley999.
        QByteArray many("[SMILIES]\r\n");
        QStringList codes;
        for (int n = 1; n <= 1000; ++n) {
            codes << QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
            many += "Smiley" + codes.last().toLatin1() + "=:" + codes.last().toLatin1() + ":\r\n";
        }
        QTest::newRow("beyond 999") << many << codes;
    }
    void loadSmilies() {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, codes);
        QVERIFY(writeFile(QStringLiteral("smilies.ini"), ini));
        QCOMPARE(smilies::load(QStringLiteral("smilies.ini")), codes);
    }

    void insertSmiley_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        QTest::newRow("empty text") << "" << 0 << 0 << "smile"
                                    << " :smile: " << 9;
        QTest::newRow("after a blank at the end") << "a " << 2 << 0 << "smile"
                                                  << "a :smile: " << 10;
        QTest::newRow("between blanks") << "a  b" << 2 << 0 << "x"
                                        << "a :x: b" << 5;
        QTest::newRow("blank after only") << "a b" << 1 << 0 << "x"
                                          << "a :x: b" << 5;
        QTest::newRow("line start") << "a\r\nb" << 3 << 0 << "x"
                                    << "a\r\n :x: b" << 8;
        QTest::newRow("selection replaced") << "a XX b" << 2 << 2 << "x"
                                            << "a :x: b" << 5;
    }
    void insertSmiley() {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, code);
        QFETCH(QString, after);
        QFETCH(int, caret);
        PlainEditBuffer buffer(text);
        buffer.setSelStart(selStart);
        buffer.setSelLength(selLength);
        smilies::insert(buffer, code);
        QCOMPARE(buffer.Text(), after);
        QCOMPARE(buffer.SelStart(), caret);
        QCOMPARE(buffer.focusCalls(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSnippets)
#include "tst_snippets.moc"
