// Drafts of the running program: when they are written, the end roads, the switch, the folder's
// tidying and the window of earlier drafts.
#include "app/DraftKeeper.h"
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/DraftsWindow.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "platform/boxes.h"
#include "platform/clsINIClass.h"
#include "platform/draftfolder.h"

#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>

#include "support.h"

namespace {

QDir draftDir() {
    return QDir(draftfolder::path());
}

QStringList draftNames() {
    return draftDir().entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Writes a draft as an earlier run would have left it.
void plantDraft(const QString& name, const QByteArray& bytes, const QDateTime& written) {
    QVERIFY(QDir().mkpath(draftfolder::path()));
    QFile file(draftDir().filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.flush(); // a later write would set the time again
    QVERIFY(file.setFileTime(written, QFileDevice::FileModificationTime));
}

QAction* menuItem(Form1* form, QMenu& menu, const QString& text) {
    emit form->Text1->contextMenuAboutToShow(&menu);
    for (QAction* item : menu.actions())
        if (item->text() == text)
            return item;
    return nullptr;
}

qint64 deadPid() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

} // namespace

class TestDraftKeeping : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        installEndHandlers();
        boxes::seam().active = true;
    }
    void init() {
        QDir(draftfolder::path()).removeRecursively();
        QFile::remove(clsINIClass().strDefaultFileName());
        boxes::seam().reset();
        boxes::seam().active = true;
    }

    // A pause writes the draft, private to the user; emptying the field keeps the post.
    void pauseWritesDraft() {
        Form1* form = Form1::Load();
        const QString path = form->drafts().path();
        form->buffer().setText(QString::fromUtf8("Grüße\r\nzwei"));
        QVERIFY(!QFile::exists(path));
        QTRY_COMPARE_WITH_TIMEOUT(readFile(path),
                                  QByteArray("Gr\xc3\xbc\xc3\x9f"
                                             "e\r\nzwei\r\n"),
                                  DraftKeeper::kPauseMs + 2000);
        QCOMPARE(QFileInfo(path).permissions() & 0x7777,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                     QFileDevice::WriteUser);
        QCOMPARE(QFileInfo(draftfolder::path()).permissions() & 0x0077, 0);
        form->buffer().setText(QString());
        form->saveDraftNow();
        form->Unload(1);
        QCOMPARE(readFile(path), QByteArray("Gr\xc3\xbc\xc3\x9f"
                                            "e\r\nzwei\r\n"));
    }

    // A run that never held a text leaves nothing.
    void emptyRunLeavesNoDraft() {
        Main();
        EndProgram();
        QCOMPARE(draftNames(), QStringList());
    }

    // Every road out of the program writes the last change, typed just before the end.
    void endRoads_data() {
        QTest::addColumn<QString>("road");
        for (const char* road :
             {"Beenden", "SIGTERM", "SIGHUP", "Abmelden", "Schließfeld ohne Tray", "Anzeige weg"})
            QTest::newRow(road) << QString::fromUtf8(road);
    }
    void endRoads() {
        QFETCH(QString, road);
        Main();
        QPointer<Form1> form = Form1::instance();
        const QString path = form->drafts().path();
        form->buffer().setText(QStringLiteral("früh"));
        form->saveDraftNow();
        QTRY_COMPARE(readFile(path), QByteArray("fr\xc3\xbch\r\n"));
        form->buffer().setText(road);
        if (road == "Beenden")
            EndProgram();
        else if (road == "SIGTERM")
            std::raise(SIGTERM);
        else if (road == "SIGHUP")
            std::raise(SIGHUP);
        else if (road == "Abmelden")
            requestEnd(EndReason::Session);
        else if (road == "Schließfeld ohne Tray")
            form->close();
        else
            form->keepForAbruptEnd();
        if (road != "Anzeige weg")
            QTRY_VERIFY(form.isNull());
        QCOMPARE(QString::fromUtf8(readFile(path)), road + "\r\n");
        delete form.data(); // after the abrupt end, the process would be gone
    }

    // Off, nothing is written and the setting says so; the window still opens.
    void switchOff() {
        Form1* form = Form1::Load();
        QMenu menu;
        QAction* keep = menuItem(form, menu, QStringLiteral("Entwürfe &behalten"));
        QVERIFY(keep && keep->isCheckable() && keep->isChecked());
        keep->trigger();
        form->buffer().setText(QStringLiteral("geheim"));
        form->saveDraftNow();
        QVERIFY(menuItem(form, menu, QStringLiteral("Frühere &Entwürfe…")));
        form->showDrafts();
        form->Unload(1);
        QCOMPARE(draftNames(), QStringList());
        QVERIFY(readFile(clsINIClass().strDefaultFileName()).contains("KeepDrafts=0"));
    }

    // A draft that cannot be written is told in the caption and with the file in a warning.
    void failureReported() {
        QVERIFY(QDir().mkpath(QFileInfo(draftfolder::path()).absolutePath()));
        QVERIFY(writeFile(draftfolder::path(), "kein Ordner"));
        Form1* form = Form1::Load();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Entwurf: \".*drafts/.*\" konnte "
                                                              "nicht geschrieben werden: .+"));
        form->buffer().setText(QStringLiteral("Text"));
        form->saveDraftNow();
        QTRY_VERIFY(form->windowTitle().endsWith(QStringLiteral("Entwurf nicht gespeichert")));
        form->Unload(1);
        QVERIFY(QFile::remove(draftfolder::path()));
    }

    // The start tidies the folder: temporary files of ended writes and drafts beyond the rules
    // go; a running program's draft, and files that are no drafts, stay.
    void tidying() {
        const qint64 dead = deadPid();
        const QDateTime old = QDateTime::currentDateTime().addDays(-40);
        for (int i = 0; i < 21; ++i)
            plantDraft(drafts::fileName(old.addSecs(i), dead), "alt\r\n", old.addSecs(i));
        // Started now: this process; written long ago, and the oldest of all.
        const QString running =
            drafts::fileName(QDateTime::currentDateTime(), QCoreApplication::applicationPid());
        plantDraft(running, "läuft\r\n", old.addDays(-1));
        plantDraft(QStringLiteral(".beitragsbox-%1-ab.tmp").arg(dead), "halb", old);
        plantDraft(QStringLiteral("notiz.txt"), "meins", old);
        QVERIFY(draftfolder::runningSince(QCoreApplication::applicationPid(),
                                          QDateTime::currentDateTime()));
        // This process started after that moment: it cannot be the program that ran then.
        QVERIFY(!draftfolder::runningSince(QCoreApplication::applicationPid(), old));
        QVERIFY(!draftfolder::runningSince(dead, QDateTime::currentDateTime()));
        QCOMPARE(draftfolder::tidy(draftfolder::path(), QDateTime::currentDateTime()), 1);
        const QStringList left = draftNames();
        QCOMPARE(left.size(), 22);
        QVERIFY(left.contains(running) && left.contains("notiz.txt"));
        QVERIFY(!left.contains(drafts::fileName(old, dead)));
    }

    // Newest first, this run marked; loading is one undo step; deleting asks first.
    void window() {
        const QDateTime now = QDateTime::currentDateTime();
        // Longer than the head the list reads: counted in the background.
        plantDraft(drafts::fileName(now.addDays(-3), 101), "vorgestern\r\n" + QByteArray(5000, 'x'),
                   now.addDays(-3));
        plantDraft(drafts::fileName(now.addDays(-1), 102), "gestern\r\nmehr\r\n", now.addDays(-1));
        Form1* form = Form1::Load();
        form->buffer().setText(QStringLiteral("heute"));
        form->saveDraftNow();
        QTRY_VERIFY(QFile::exists(form->drafts().path()));
        DraftsWindow* window = form->showDrafts();
        QListWidget* list = window->list();
        QCOMPARE(list->count(), 3);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("Dieser Lauf: ")));
        QVERIFY(list->item(1)->text().endsWith(QStringLiteral(" · 12 Zeichen\ngestern")));
        QVERIFY(list->item(2)->text().endsWith(QStringLiteral("vorgestern")));
        QTRY_VERIFY(list->item(2)->text().contains(QStringLiteral(" · 5.011 Zeichen\n")));
        QVERIFY(!window->deleteButton()->isEnabled()); // this run writes it again
        list->setCurrentRow(1);
        QCOMPARE(window->preview()->toPlainText(), QStringLiteral("gestern\nmehr"));
        window->copyButton()->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("gestern\nmehr"));
        window->loadButton()->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(form->buffer().Text(), QStringLiteral("gestern\r\nmehr"));
        form->Text1->undo();
        QCOMPARE(form->buffer().Text(), QStringLiteral("heute"));

        form->showDrafts();
        list->setCurrentRow(2);
        boxes::seam().yesNoAnswers = {false, true};
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->count(), 3);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(boxes::seam().messages.size(), 2);
        QVERIFY(boxes::seam().messages[0].contains(QStringLiteral("|?|Den Entwurf vom ")));
        QCOMPARE(list->count(), 2);
        QVERIFY(!QFile::exists(draftDir().filePath(drafts::fileName(now.addDays(-3), 101))));
        form->Unload(1);
    }
};

BEITRAGSBOX_TEST_MAIN(TestDraftKeeping)
#include "tst_draftkeeping.moc"
