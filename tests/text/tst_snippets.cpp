// Quick texts and smilies: their entries, the smiley section and insertion into the edit buffer.
#include "text/EditBuffer.h"
#include "text/ProfileDocument.h"
#include "text/QuickTexts.h"
#include "text/Smilies.h"

#include <QtTest>

#include "PlainEditBuffer.h"
#include "support.h"

class TestSnippets : public QObject {
    Q_OBJECT

private slots:
    void comboEntry_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("entry");
        QTest::newRow("40 characters") << QString(40, u'x') << "3 " + QString(15, u'x');
        QTest::newRow("line break") << QStringLiteral("a\r\nb") << "3 a\r\nb";
        // An emoji across the 15th character is left out whole.
        QTest::newRow("no half emoji")
            << QString(14, u'x') + QString::fromUtf8("😀") << "3 " + QString(14, u'x');
    }
    void comboEntry() {
        QFETCH(QString, text);
        QFETCH(QString, entry);
        QCOMPARE(quicktexts::comboEntry(3, text), entry);
    }

    void loadSmilies_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("codes");
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
        QCOMPARE(smilies::load(profile::Document::fromBytes(ini)), codes);
    }

    // A quick text goes in as it is; a smiley gets a blank on each side that has none.
    void insert_data() {
        QTest::addColumn<bool>("smiley");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("after");
        QTest::newRow("quick text over selection")
            << false << "ABC" << 1 << 2 << "XY" << 3 << "AXY";
        QTest::newRow("empty quick text") << false << "ABC" << 1 << 1 << "" << 1 << "AC";
        QTest::newRow("smiley into empty text") << true << "" << 0 << 0 << "s" << 5 << " :s: ";
        QTest::newRow("smiley after a blank") << true << "a " << 2 << 0 << "s" << 6 << "a :s: ";
        QTest::newRow("smiley between blanks") << true << "a  b" << 2 << 0 << "s" << 5 << "a :s: b";
        QTest::newRow("smiley before a blank") << true << "a b" << 1 << 0 << "s" << 5 << "a :s: b";
        QTest::newRow("smiley over selection")
            << true << "aXX b" << 1 << 2 << "s" << 5 << "a :s: b";
    }
    void insert() {
        QFETCH(bool, smiley);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, inserted);
        QFETCH(int, caret);
        QFETCH(QString, after);
        PlainEditBuffer buffer(text);
        buffer.setSelStart(selStart);
        buffer.setSelLength(selLength);
        smiley ? smilies::insert(buffer, inserted) : quicktexts::insert(buffer, inserted);
        QCOMPARE(buffer.Text(), after);
        QCOMPARE(buffer.SelStart(), caret);
        QCOMPARE(buffer.focusCalls(), 1);
    }
};

BEITRAGSBOX_TEST_MAIN(TestSnippets)
#include "tst_snippets.moc"
