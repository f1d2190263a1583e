// The program started in a folder anyone may write to (like /tmp), where another user planted
// links to the user's own files: none of them is read or written through.
#include "app/Form1.h"
#include "app/modMain.h"
#include "editor/TextField.h"
#include "platform/boxes.h"
#include "platform/clsINIClass.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include "support.h"

class TestSharedFolder : public QObject {
    Q_OBJECT
private slots:
    void plantedLinksAreRefused() {
        if (::geteuid() != 0)
            QSKIP("planting a link as another user needs root");
        const SharedFolder shared;
        QVERIFY(shared.made);
        QTemporaryDir home;
        // The program and its settings file lie there too.
        settingsfile::setProgramFolderForTests(QString(shared.path));
        QVERIFY(QDir::setCurrent(QString(shared.path)));
        const QStringList names = {"autosave.txt", "usersave.txt", "user3.txt",
                                   QFileInfo(clsINIClass().strDefaultFileName()).fileName()};
        for (const QString& name : names) {
            QVERIFY(writeFile(home.filePath(name), "mine"));
            QVERIFY(plantForeignLink(home.filePath(name), shared.filePath(name)));
        }
        boxes::seam().active = true;

        Main();
        Form1* form = Form1::instance();
        QCOMPARE(form->quickText(3), QString());
        QTest::keyClicks(form->Text1, QStringLiteral("Beitrag"));
        form->saveUserCopy();
        form->Timer1_Timer();
        form->finishAutosave();
        QTRY_VERIFY(form->windowTitle().contains(QStringLiteral("Autosave fehlgeschlagen")));
        EndProgram();

        const QStringList messages = boxes::seam().messages;
        QCOMPARE(messages.size(), 3); // settings unreadable at start and end, usersave.txt
        for (const QString& message : messages)
            QVERIFY2(message.contains(QStringLiteral("Verknüpfung")) ||
                         message.contains(QStringLiteral("unverändert")),
                     qPrintable(message));
        QVERIFY(messages.filter(QStringLiteral("\"usersave.txt\"")).size() == 1);
        for (const QString& name : names) {
            QCOMPARE(readFile(home.filePath(name)), QByteArray("mine"));
            QVERIFY(QFileInfo(shared.filePath(name)).isSymLink());
        }
    }
};

BEITRAGSBOX_TEST_MAIN(TestSharedFolder)
#include "tst_sharedfolder.moc"
