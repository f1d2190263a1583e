// Keyboard use of the real windows: the tab orders.
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/Form2.h"
#include "dialogs/frmEditPhrase.h"
#include "editor/TextField.h"

#include <QtTest>
#include <QtWidgets>

#include "support.h"

class TestKeyboard : public QObject {
    Q_OBJECT

    Form1* m_form = nullptr;

    static QString focusName() {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("<none>");
    }
    static void activate(QWidget* window) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The offscreen platform does not pass activation requests on.
        QApplication::setActiveWindow(window);
    }

private slots:
    void initTestCase() {
        m_form = Form1::Load(true);
        activate(m_form);
    }
    void cleanupTestCase() { EndProgram(); }

    void tabOrder_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("main window")
            << "Form1"
            << QStringList{"Text1",   "Command1", "Command2", "Command3", "List1",  "Command4",
                           "cmdInfo", "Check1",   "Check2",   "Check3",   "Combo1", "Command5"};
        QTest::newRow("options") << "Form2"
                                 << QStringList{"Text2",           "Command1",   "Command3",
                                                "Command4",        "Command5",   "Command6",
                                                "cmdEditPhrase",   "Combo1",     "cmdBtnColor",
                                                "hsbTransparency", "cmdSysInfo", "cmdCancel"};
        QTest::newRow("quick-text editor")
            << "frmEditPhrase" << QStringList{"Text1", "cmdOK", "cmdCancel"};
    }
    // Tab from the first control visits the controls in order and comes round to the first;
    // Shift+Tab walks back. Tab in an edit field moves on and types nothing.
    void tabOrder() {
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        QWidget* shown = m_form;
        if (window != QLatin1String("Form1")) {
            Form2* options = m_form->loadOptions();
            shown = options;
            if (window == QLatin1String("frmEditPhrase"))
                shown = frmEditPhrase::Load(options, 0);
        }
        activate(shown);
        shown->findChild<QWidget*>(order.first())->setFocus();
        QCOMPARE(focusName(), order.first());
        QStringList forward, backward;
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            forward << focusName();
        }
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            backward.prepend(focusName());
        }
        QCOMPARE(forward, order.mid(1) << order.first());
        QCOMPARE(backward, order);
        auto* edit = shown->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        QVERIFY(!edit || !edit->toPlainText().contains(u'\t'));
        frmEditPhrase::Unload();
        Form2::Unload();
        activate(m_form);
    }
};

BEITRAGSBOX_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
