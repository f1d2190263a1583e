// Keyboard use of the real windows: the tab orders, the transparency bar's keys, Qt's own texts
// in German.
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/Form2.h"
#include "dialogs/frmEditPhrase.h"
#include "editor/TextField.h"
#include "platform/boxes.h"

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

    // The transparency bar answers the keys and changes the level live.
    void transparencyKeys() {
        Form2* options = m_form->loadOptions();
        options->hsbTransparency->setValue(30);
        activate(options);
        options->hsbTransparency->setFocus();
        QCOMPARE(focusName(), QStringLiteral("hsbTransparency"));
        const struct {
            Qt::Key key;
            int level;
        } steps[] = {{Qt::Key_Right, 31}, {Qt::Key_Left, 30},    {Qt::Key_PageDown, 55},
                     {Qt::Key_End, 255},  {Qt::Key_PageUp, 230}, {Qt::Key_Home, 0}};
        for (const auto& step : steps) {
            QTest::keyClick(options->hsbTransparency, step.key);
            QCOMPARE(options->hsbTransparency->value(), step.level);
            QCOMPARE(options->lblTransparency->text(), QString::number(step.level));
            QCOMPARE(int(m_form->transparency()), step.level);
        }
        Form2::Unload();
    }

    // Without the catalogue Qt's texts stay English; with it the list box and the edit field's
    // menu speak German.
    void germanQtTexts() {
        boxes::seam().active = false;
        const auto listBoxCancel = [this] {
            QString cancel;
            whenModal<QInputDialog>(this, [&cancel](QInputDialog* dialog) {
                const auto* buttons = dialog->findChild<QDialogButtonBox*>();
                cancel = buttons->button(QDialogButtonBox::Cancel)->text();
                dialog->reject();
            });
            boxes::InputBox(QStringLiteral("Wieviele Listenpunkte?"),
                            QStringLiteral("Liste anlegen"));
            return cancel;
        };
        QTemporaryDir empty;
        QVERIFY(!installGermanQtTexts(empty.path()));
        QCOMPARE(listBoxCancel(), QStringLiteral("Cancel"));

        QVERIFY(installGermanQtTexts());
        QCOMPARE(listBoxCancel(), QStringLiteral("Abbrechen"));
        std::unique_ptr<QMenu> menu(m_form->Text1->createStandardContextMenu());
        QStringList entries;
        for (const QAction* action : menu->actions())
            entries << action->text().remove(u'&').section(u'\t', 0, 0);
        QVERIFY2(entries.contains(QStringLiteral("Rückgängig")) &&
                     entries.contains(QStringLiteral("Einfügen")),
                 qPrintable(entries.join(u',')));
    }
};

BEITRAGSBOX_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
