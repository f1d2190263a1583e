// The real message and input boxes, answered by a timer; the clipboard's text.
#include "platform/boxes.h"
#include "platform/clipboard.h"
#include "platform/mnemonics.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

#include "support.h"

class TestBoxes : public QObject {
    Q_OBJECT

private slots:
    // Menus mix Qt's items, some of them without a mnemonic, with the program's own: afterwards
    // every item has one, none twice, and the ones that had one keep it.
    void everyMenuItemGetsAMnemonic() {
        QMenu menu;
        for (const char* text : {"&Rückgängig", "Löschen", "Alles auswählen", "Laden && mehr"})
            menu.addAction(QString::fromUtf8(text));
        menu.addSeparator();
        menu.addMenu(QStringLiteral("Sprache"))->addAction(QStringLiteral("Deutsch"));
        mnemonics::addMissing(&menu);
        QStringList texts;
        for (const QAction* item : menu.actions())
            if (!item->isSeparator())
                texts << item->text();
        QCOMPARE(texts,
                 QStringList({QString::fromUtf8("&Rückgängig"), QString::fromUtf8("&Löschen"),
                              QString::fromUtf8("&Alles auswählen"),
                              QStringLiteral("La&den && mehr"), QStringLiteral("&Sprache")}));
        QCOMPARE(menu.actions().constLast()->menu()->actions().at(0)->text(),
                 QStringLiteral("&Deutsch"));
    }
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
