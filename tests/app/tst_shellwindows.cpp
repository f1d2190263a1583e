// The main window's always on top and resize rule, and the About and quick-help windows.
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/InfoWindows.h"
#include "editor/TextField.h"
#include "platform/window_twips.h"
#include "text/MainLayout.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "support.h"

class TestShellWindows : public QObject {
    Q_OBJECT

    Form1* m_form = nullptr;

private slots:
    void init() {
        m_form = Form1::Load();
        m_form->show();
    }
    void cleanup() {
        if (Form1::instance())
            EndProgram();
    }

    // Switching always on top shows a hidden window again.
    void alwaysOnTopShowsHiddenWindow() {
        m_form->hide();
        m_form->ToggleAOT(true);
        QVERIFY(m_form->isVisible());
        QVERIFY(m_form->isTopmost());
    }

    // Widening moves the list and the combo box by the same amount, the top row stays, the edit
    // field keeps one twip when too narrow, and the window gets no lower than the minimum.
    void layoutFollowsResize() {
        QCOMPARE(window::twipsPerPixelX(m_form), 15.0); // 96 dpi in the test platform
        QCOMPARE(window::twipsPerPixelY(m_form), 15.0);
        m_form->resize(396, 171); // 6000 x 3000 twips outside
        QCOMPARE(m_form->Text1->geometry(), QRect(4, 24, 313, 145));
        QCOMPARE(m_form->List1->geometry(), QRect(320, 24, 73, 145));
        QCOMPARE(m_form->Combo1->geometry().topLeft(), QPoint(320, 0));
        const QRect button = m_form->Command4->geometry();
        m_form->resize(m_form->width() + 40, m_form->height());
        QCOMPARE(m_form->Text1->width(), 313 + 40);
        QCOMPARE(m_form->List1->geometry(), QRect(320 + 40, 24, 73, 145));
        QCOMPARE(m_form->Combo1->x(), 320 + 40);
        QCOMPARE(m_form->Command4->geometry(), button);
        QCOMPARE(computeMainLayout(900, 3000).list1Left, 60 + 1 + 40); // below the window's minimum
        m_form->resize(m_form->width(), 5);
        QCOMPARE(m_form->height(), 27); // 826 twips outside
    }

    void aboutWindow() {
        QFile::remove(QStringLiteral("readme.txt"));
        frmAbout about(m_form, programCaption());
        QCOMPARE(about.txtInfo->toPlainText(), QString());
        QVERIFY(about.txtInfo->isReadOnly());
        QVERIFY(!about.picIcon->pixmap().isNull());
        QVERIFY(QFile::exists(QStringLiteral("readme.txt"))); // left behind, empty
        QVERIFY(writeFile(QStringLiteral("readme.txt"), "Version\r\nGr\xfc\xdf"));
        frmAbout again(m_form, programCaption());
        QCOMPARE(again.txtInfo->toPlainText(), QString::fromUtf8("Version\nGrüß"));
    }

    void quickHelpWindow() {
        QVERIFY(writeFile(QStringLiteral("kurzhilfe.txt"), "Hilfe"));
        frmKurzHilfe* window = frmKurzHilfe::Show(m_form);
        QCOMPARE(window->txtKurzHilfe->toPlainText(), QStringLiteral("Hilfe"));
        QVERIFY(!window->txtKurzHilfe->isReadOnly());
        window->txtKurzHilfe->setPlainText(QStringLiteral("getippt"));
        QVERIFY(QFile::remove(QStringLiteral("kurzhilfe.txt")));
        QCOMPARE(frmKurzHilfe::Show(m_form), window); // brought forward, not read again
        QCOMPARE(window->txtKurzHilfe->toPlainText(), QStringLiteral("getippt"));
        QVERIFY(!QFile::exists(QStringLiteral("kurzhilfe.txt")));

        // The text box stays 520 twips lower and 120 narrower than the outer size.
        window->resize(400, 300);
        QCOMPARE(window->txtKurzHilfe->geometry(), QRect(0, 8, 400 - 1, 300 - 8));
        window->resize(3, 3);
        QVERIFY(window->txtKurzHilfe->height() > 0);
        window->close();
        QTRY_VERIFY(!frmKurzHilfe::instance()); // unloaded
    }
};

BEITRAGSBOX_TEST_MAIN(TestShellWindows)
#include "tst_shellwindows.moc"
