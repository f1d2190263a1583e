// The main window's resize rule, computed and applied to the real window.
#include "app/Form1.h"
#include "editor/TextField.h"
#include "platform/window_twips.h"
#include "text/MainLayout.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "support.h"

class TestMainLayout : public QObject {
    Q_OBJECT
private slots:
    void rule_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("windowHeight");
        QTest::addColumn<double>("text1Width");
        QTest::addColumn<double>("text1Height");
        QTest::addColumn<double>("listLeft");
        QTest::newRow("design size") << 5760.0 << 2835.0 << 2835.0 << 4455.0 << 2010.0 << 4555.0;
        QTest::newRow("minimum height") << 6000.0 << 826.0 << 826.0 << 4695.0 << 1.0 << 4795.0;
        QTest::newRow("too low") << 6000.0 << 500.0 << 826.0 << 4695.0 << 1.0 << 4795.0;
        // Narrower than the rule allows: the edit field keeps one twip.
        QTest::newRow("too narrow") << 900.0 << 3000.0 << 3000.0 << 1.0 << 2175.0 << 101.0;
    }
    void rule() {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, windowHeight);
        QFETCH(double, text1Width);
        QFETCH(double, text1Height);
        QFETCH(double, listLeft);
        const MainLayout l = computeMainLayout(width, height);
        QCOMPARE(l.windowHeight, windowHeight);
        QCOMPARE(l.heightRaised, height < 826);
        QCOMPARE(l.text1Width, text1Width);
        QCOMPARE(l.text1Height, text1Height);
        QCOMPARE(l.list1Height, text1Height);
        QCOMPARE(l.list1Left, listLeft);
        QCOMPARE(l.combo1Left, listLeft);
    }

    // On the window: widening moves the list and the combo box by the same amount, the top
    // row stays, and the window cannot get lower than the rule's minimum.
    void appliedToWindow() {
        Form1* form = Form1::Load();
        form->show();
        QCOMPARE(window::twipsPerPixelX(form), 15.0); // 96 dpi in the test platform
        QCOMPARE(window::twipsPerPixelY(form), 15.0);
        form->resize(396, 171); // 6000 x 3000 twips outside
        QCOMPARE(form->Text1->geometry(), QRect(4, 24, 313, 145));
        QCOMPARE(form->List1->geometry(), QRect(320, 24, 73, 145));
        QCOMPARE(form->Combo1->geometry().topLeft(), QPoint(320, 0));
        const QRect button = form->Command4->geometry();

        form->resize(form->width() + 40, form->height());
        QCOMPARE(form->Text1->width(), 313 + 40);
        QCOMPARE(form->List1->x(), 320 + 40);
        QCOMPARE(form->List1->width(), 73);
        QCOMPARE(form->Combo1->x(), 320 + 40);
        QCOMPARE(form->Command4->geometry(), button);

        form->resize(form->width(), 5);
        QCOMPARE(form->height(), 27); // 826 twips outside
        QVERIFY(form->Text1->height() >= 1);
        form->Unload(1);
    }
};

BEITRAGSBOX_TEST_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
