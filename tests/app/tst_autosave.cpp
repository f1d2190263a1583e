// The autosave timer's rules and the file it writes.
#include "app/Form1.h"
#include "app/modMain.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "platform/BackgroundWriter.h"

#include <QMenu>
#include <QtTest>

#include "support.h"

class TestAutosave : public QObject {
    Q_OBJECT

    static QByteArray readAutosave() { return readFile(QStringLiteral("autosave.txt")); }

private slots:
    // A restart after a crash keeps the last run's copy until the text is changed; an unchanged
    // text is never written again.
    void onlyChangedTextIsWritten() {
        QVERIFY(writeFile(QStringLiteral("autosave.txt"), "vom letzten Lauf\r\n"));
        Form1* form = Form1::Load();
        form->Timer1_Timer();
        form->finishAutosave();
        QCOMPARE(readAutosave(), QByteArray("vom letzten Lauf\r\n"));
        QTest::keyClicks(form->Text1, QStringLiteral("neu"));
        form->Timer1_Timer(); // while typing: after the next key or a pause
        QTRY_COMPARE(readAutosave(), QByteArray("neu\r\n"));
        QVERIFY(QFile::remove(QStringLiteral("autosave.txt")));
        form->Timer1_Timer();
        form->finishAutosave();
        QVERIFY(!QFile::exists(QStringLiteral("autosave.txt")));
        form->Unload(1);
    }

    // A tick while the user types waits for the next key and then takes the text with it.
    void tickBetweenKeys() {
        Form1* form = Form1::Load();
        QFile::remove(QStringLiteral("autosave.txt"));
        QTest::keyClicks(form->Text1, QStringLiteral("ab"));
        form->Timer1_Timer();
        QCoreApplication::processEvents();
        form->finishAutosave();
        QVERIFY(!QFile::exists(QStringLiteral("autosave.txt")));
        QTest::keyClick(form->Text1, Qt::Key_C);
        QTRY_COMPARE(readAutosave(), QByteArray("abc\r\n"));
        form->Unload(1);
    }

    // One write at a time: a text handed over meanwhile waits, and the end does not write it.
    void oneWriteInFlight() {
        BackgroundWriter autosave(QStringLiteral("autosave.txt"), {});
        autosave.save(QStringLiteral("erste"));
        autosave.save(QStringLiteral("zweite"));
        autosave.save(QStringLiteral("dritte"));
        QTRY_COMPARE(readAutosave(), QByteArray("dritte\r\n"));
        autosave.finish();
        QCoreApplication::processEvents(); // the writer's report: idle again
        autosave.save(QStringLiteral("vierte"));
        autosave.save(QStringLiteral("fünfte"));
        autosave.finish();
        QCOMPARE(readAutosave(), QByteArray("vierte\r\n"));
    }

    // The edit field's menu loads the copy back as one undo step.
    void recoveryFromMenu() {
        Form1* form = Form1::Load();
        const auto recoveryItem = [form] {
            QMenu menu;
            emit form->Text1->contextMenuAboutToShow(&menu);
            for (const QAction* item : menu.actions())
                if (item->text().startsWith(QStringLiteral("Automatische Sicherung")))
                    return item->text() + (item->isEnabled() ? "+" : "-");
            return QStringLiteral("<none>");
        };
        QVERIFY(writeFile(QStringLiteral("autosave.txt"), ""));
        QCOMPARE(recoveryItem(), QStringLiteral("Automatische Sicherung laden-"));
        QVERIFY(writeFile(QStringLiteral("autosave.txt"), "gerettet\nzwei\r\n"));
        QCOMPARE(recoveryItem(), QStringLiteral("Automatische Sicherung laden+"));
        form->buffer().setText(QStringLiteral("jetzt"));
        form->loadAutosave();
        QCOMPARE(form->buffer().Text(), QStringLiteral("gerettet\r\nzwei"));
        form->Text1->undo();
        QCOMPARE(form->buffer().Text(), QStringLiteral("jetzt"));
        form->Unload(1);
    }

    // A failing write never blocks: the caption and one warning tell when it starts failing, one
    // more warning when it works again; the text is written again at the next tick.
    void ticks() {
        Form1* form = Form1::Load();
        const QString caption = form->windowTitle();
        auto tick = [form](int times) {
            for (int i = 0; i < times; ++i) {
                form->Timer1_Timer();
                form->finishAutosave();
                QCoreApplication::processEvents();
            }
        };
        QFile::remove(QStringLiteral("autosave.txt"));
        QVERIFY(QDir().mkdir(QStringLiteral("autosave.txt")));
        form->buffer().setText(QString::fromUtf8("Grüße\r\nzwei"));
        QTest::failOnWarning(QRegularExpression("autosave"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("autosave.txt.*nicht geschrieben"));
        tick(3);
        QVERIFY(form->windowTitle() != caption);
        QVERIFY(QDir().rmdir(QStringLiteral("autosave.txt")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("autosave.txt.*wieder geschrieben"));
        tick(2);
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(readAutosave(), QByteArray("Gr\xc3\xbc\xc3\x9f"
                                            "e\r\nzwei\r\n"));
        form->Unload(1);
    }
};

BEITRAGSBOX_TEST_MAIN(TestAutosave)
#include "tst_autosave.moc"
