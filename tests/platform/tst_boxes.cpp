// The real message and input boxes, answered by a timer.
#include "platform/boxes.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QtTest>

#include "support.h"

class TestBoxes : public QObject {
    Q_OBJECT

private slots:
    void inputBox_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("answer");
        QTest::newRow("OK") << true << "3";
        QTest::newRow("Cancel") << false << "";
    }
    void inputBox() {
        QFETCH(bool, accept);
        QFETCH(QString, answer);
        QString title, label, initial;
        whenModal<QInputDialog>(this, [&](QInputDialog* dialog) {
            title = dialog->windowTitle();
            label = dialog->labelText();
            initial = dialog->textValue();
            dialog->setTextValue(QStringLiteral("3"));
            accept ? dialog->accept() : dialog->reject();
        });
        const QString result = boxes::InputBox(QStringLiteral("Wieviele Listenpunkte?"),
                                               QStringLiteral("Liste anlegen"));
        QCOMPARE(result, answer);
        QCOMPARE(title, QStringLiteral("Liste anlegen"));
        QCOMPARE(label, QStringLiteral("Wieviele Listenpunkte?"));
        QCOMPARE(initial, QString());
    }

    void messageBox_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << int(boxes::Icon::None) << "Beitragsbox";
        QTest::newRow("critical") << int(boxes::Icon::Critical) << "Fehler";
    }
    void messageBox() {
        QFETCH(int, icon);
        QFETCH(QString, title);
        QString seenTitle, seenText;
        QMessageBox::Icon seenIcon = QMessageBox::Question;
        int buttons = 0;
        whenModal<QMessageBox>(this, [&](QMessageBox* box) {
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            buttons = int(box->buttons().size());
            box->accept();
        });
        if (icon == int(boxes::Icon::None))
            boxes::MsgBox(QStringLiteral("Zu viele Listenpunkte"));
        else
            boxes::MsgBox(QStringLiteral("Fehler in strFormat"), boxes::Icon::Critical, title);
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenIcon,
                 icon == int(boxes::Icon::None) ? QMessageBox::NoIcon : QMessageBox::Critical);
        QCOMPARE(buttons, 1);
        QVERIFY(!seenText.isEmpty());
    }
};

QTEST_MAIN(TestBoxes)
#include "tst_boxes.moc"
