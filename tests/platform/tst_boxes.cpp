// The real message and input boxes, answered by a timer; the clipboard's text.
#include "platform/boxes.h"
#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QtTest>

#include "support.h"

class TestBoxes : public QObject {
    Q_OBJECT

private slots:
    // An empty field under the prompt; OK gives the text typed, Cancel "".
    void inputBox() {
        QStringList seen;
        for (bool accept : {true, false}) {
            whenModal<QInputDialog>(this, [&, accept](QInputDialog* dialog) {
                seen << dialog->windowTitle() + u'|' + dialog->labelText() + u'|' +
                            dialog->textValue();
                dialog->setTextValue(QStringLiteral("3"));
                accept ? dialog->accept() : dialog->reject();
            });
            QCOMPARE(boxes::InputBox(QStringLiteral("Wieviele Listenpunkte?"),
                                     QStringLiteral("Liste anlegen")),
                     accept ? QStringLiteral("3") : QString());
        }
        QCOMPARE(seen, QStringList(2, QStringLiteral("Liste anlegen|Wieviele Listenpunkte?|")));
    }

    // Title, icon and text as given, and only an OK button.
    void messageBox() {
        QStringList seen;
        auto answer = [&] {
            whenModal<QMessageBox>(this, [&](QMessageBox* box) {
                seen << QStringList{box->windowTitle(), QString::number(box->icon()), box->text(),
                                    box->standardButtons() == QMessageBox::Ok ? "OK" : "?"}
                            .join(u'|');
                box->accept();
            });
        };
        answer();
        boxes::MsgBox(QStringLiteral("Zu viele Listenpunkte"));
        answer();
        boxes::MsgBox(QStringLiteral("Fehler in strFormat"), boxes::Icon::Critical,
                      QStringLiteral("Fehler"));
        QCOMPARE(seen, (QStringList{QStringLiteral("Beitragsbox|0|Zu viele Listenpunkte|OK"),
                                    QStringLiteral("Fehler|3|Fehler in strFormat|OK")}));
    }

    // Texts copied on Linux carry bare LF; the edit buffer counts CR LF.
    void clipboardLineBreaks() {
        QGuiApplication::clipboard()->setText(QStringLiteral("a\nb\r\nc\rd"));
        QCOMPARE(clipboard::ClipboardText(), QStringLiteral("a\r\nb\r\nc\r\nd"));
        QGuiApplication::clipboard()->clear();
        QCOMPARE(clipboard::ClipboardText(), QString());
    }
};

BEITRAGSBOX_TEST_MAIN(TestBoxes)
#include "tst_boxes.moc"
