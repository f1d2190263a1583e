// Tray notifications, always on top with its suspend rule, and the About and quick-help windows.
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/InfoWindows.h"
#include "dialogs/frmMenu.h"
#include "platform/tray.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
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

    // Left button up shows the window, right button up pops up the menu; the rest is ignored.
    void trayNotifications() {
        m_form->hide();
        for (int ignored : {512, 513, 515, 516, 518})
            m_form->picSysTrayIcon_MouseMove(ignored);
        QVERIFY(!m_form->isVisible());
        QVERIFY(!frmMenu::instance());
        m_form->picSysTrayIcon_MouseMove(TrayIcon::kLeftButtonUp);
        QVERIFY(m_form->isVisible());

        m_form->picSysTrayIcon_MouseMove(TrayIcon::kRightButtonUp);
        frmMenu* menu = frmMenu::instance();
        QVERIFY(menu && menu->mnuDatei->isVisible());
        QVERIFY(!menu->isVisible()); // the carrier window itself never shows
        menu->mnuBeenden->trigger();
        QVERIFY(!Form1::instance());
        QVERIFY(!frmMenu::instance());
    }

    void alwaysOnTop_data() {
        QTest::addColumn<bool>("aot");
        QTest::newRow("AOT on") << true;
        QTest::newRow("AOT off") << false;
    }
    // The check box switches the same native window; opening a window suspends it meanwhile,
    // and switching shows a hidden window again.
    void alwaysOnTop() {
        QFETCH(bool, aot);
        const WId id = m_form->winId();
        m_form->Check3->setChecked(aot);
        QCOMPARE(m_form->isTopmost(), aot);
        QCOMPARE(m_form->winId(), id);
        bool topmostInside = true;
        m_form->openWithTopmostSuspended([&] { topmostInside = m_form->isTopmost(); });
        QVERIFY(!topmostInside);
        QCOMPARE(m_form->isTopmost(), aot);
        m_form->hide();
        m_form->ToggleAOT(aot);
        QVERIFY(m_form->isVisible());
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
