// Choosing a quick text in the drop-down list and clicking a smiley on the real main window.
#include "app/Form1.h"
#include "app/modMain.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "platform/clsINIClass.h"

#include <QComboBox>
#include <QListWidget>
#include <QProxyStyle>
#include <QtTest>

#include "support.h"

class TestSnippetWidgets : public QObject {
    Q_OBJECT

    Form1* m_form = nullptr;

private slots:
    void initTestCase() {
        // From the Windows program: Windows-1252.
        QVERIFY(writeFile(QStringLiteral("user2.txt"), "Gru\xdf\r\n"));
        QVERIFY(writeFile(QStringLiteral("user3.txt"), "a\nb")); // written on Linux
        const clsINIClass ini;
        ini.lngWriteKey(QStringLiteral("Smiley001"), QStringLiteral(":smile:"),
                        QStringLiteral("SMILIES"));
        ini.lngWriteKey(QStringLiteral("Smiley002"), QStringLiteral(":wink:"),
                        QStringLiteral("SMILIES"));
        m_form = Form1::Load();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }
    void cleanupTestCase() { m_form->Unload(1); }

    void quickTextFromList() {
        QComboBox* combo = m_form->Combo1;
        QCOMPARE(combo->count(), 13);
        QCOMPARE(combo->itemText(2), QString::fromUtf8("2 Gruß\r\n"));
        QCOMPARE(combo->itemText(0), QStringLiteral("0 "));
        QVERIFY(!QFile::exists(QStringLiteral("user0.txt"))); // a missing file stays missing
        QCOMPARE(m_form->quickText(3), QStringLiteral("a\r\nb"));
        QCOMPARE(combo->itemText(12), QStringLiteral("******"));
        m_form->buffer().setText(QStringLiteral("ab"));
        m_form->buffer().setSelStart(1);
        combo->setCurrentIndex(2);
        emit combo->activated(2);
        QCOMPARE(m_form->buffer().Text(), QString::fromUtf8("aGruß\r\nb"));
        QCOMPARE(m_form->buffer().SelStart(), 7);
        QCOMPARE(m_form->quickText(2), QString::fromUtf8("Gruß\r\n"));
        combo->setCurrentIndex(10);
        emit combo->activated(10);
        QCOMPARE(m_form->buffer().Text(),
                 QString::fromUtf8("aGruß\r\n") + QString(112, u'-') + "b");
        QCOMPARE(combo->currentIndex(), 10); // stays selected
    }

    // The wheel over the closed drop-down or the smiley list inserts nothing and leaves the
    // focus in the edit field.
    void wheelInsertsNothing() {
        m_form->buffer().setText(QStringLiteral("x"));
        m_form->Text1->setFocus();
        m_form->Combo1->setCurrentIndex(-1);
        for (QWidget* target : {static_cast<QWidget*>(m_form->Combo1), m_form->List1->viewport()})
            for (const int delta : {-120, -120, 120}) {
                const QPointF at = QRectF(target->rect()).center();
                QWheelEvent wheel(at, target->mapToGlobal(at), {}, {0, delta}, Qt::NoButton,
                                  Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(target, &wheel);
            }
        QCOMPARE(m_form->buffer().Text(), QStringLiteral("x"));
        QCOMPARE(m_form->Combo1->currentIndex(), -1);
        QVERIFY(m_form->Text1->hasFocus());
    }

    void smileyClick_data() {
        QTest::addColumn<bool>("singleClickStyle");
        QTest::newRow("double-click activates") << false;
        QTest::newRow("single click activates") << true;
    }
    // One click inserts once, a double-click twice, Enter once, whatever the style activates on.
    void smileyClick() {
        QFETCH(bool, singleClickStyle);
        struct SingleClickStyle : QProxyStyle {
            int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* data) const override {
                return hint == SH_ItemView_ActivateItemOnSingleClick
                           ? 1
                           : QProxyStyle::styleHint(hint, option, widget, data);
            }
        };
        QListWidget* list = m_form->List1;
        SingleClickStyle style;
        if (singleClickStyle)
            list->setStyle(&style);
        QCOMPARE(list->count(), 2);
        m_form->buffer().setText(QStringLiteral("x"));
        m_form->buffer().setSelStart(1);
        const QPoint row = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(m_form->buffer().Text(), QStringLiteral("x :wink: "));
        QCOMPARE(m_form->buffer().SelStart(), 9);
        QVERIFY(m_form->Text1->hasFocus());

        // A double-click: press and release, then the second press as a double-click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(m_form->buffer().Text().count(QStringLiteral(":wink:")), 3);

        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_form->buffer().Text(), QStringLiteral("x :wink: :wink: :wink: :smile: "));
        list->setStyle(nullptr);
    }
};

BEITRAGSBOX_TEST_MAIN(TestSnippetWidgets)
#include "tst_snippetwidgets.moc"
