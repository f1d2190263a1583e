// An installed program, run by an ordinary user: the program folder is read-only. Settings come
// from the user's own file, else from the starter file beside the program; the first write
// makes the user's file from the starter file, so its smilies come along.
#include "app/Form1.h"
#include "app/modMain.h"
#include "platform/boxes.h"
#include "platform/clsINIClass.h"

#include <QCheckBox>
#include <QListWidget>
#include <QtTest>

#include <unistd.h>

#include "support.h"

class TestInstalled : public QObject {
    Q_OBJECT

    QString m_program = qEnvironmentVariable("BEITRAGSBOX_TEST_INSTALLED");

    QString starter() const { return settingsfile::besideProgram(); }

private slots:
    void initTestCase() {
        if (m_program.isEmpty() || ::geteuid() == 0)
            QSKIP("runs as an ordinary user through run_as_user.sh");
        settingsfile::setProgramFolderForTests(m_program);
        boxes::seam().active = true;
    }

    void starterFileThenOwnFile() {
        const QByteArray before = readFile(starter());
        QVERIFY(!QFile::exists(settingsfile::userFile()));
        QCOMPARE(settingsfile::defaultPath(), starter());
        Form1* form = Form1::Load();
        QCOMPARE(form->List1->count(), 2);
        QVERIFY(form->Check1->isChecked());
        form->Check3->setChecked(true);
        EndProgram();
        QVERIFY(boxes::seam().messages.isEmpty());
        QCOMPARE(readFile(starter()), before);
        const QByteArray own = readFile(settingsfile::userFile());
        QVERIFY2(own.contains("AlwaysOnTop=1\r\n") && own.contains("Smiley002=:wink:\r\n"),
                 own.constData());
        QCOMPARE(settingsfile::defaultPath(), settingsfile::userFile());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form = Form1::Load();
        QVERIFY(form->Check3->isChecked());
        QCOMPARE(form->List1->count(), 2);
        EndProgram();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // No user folder can be made: the message says so and names it.
    void userFolderCannotBeMade() {
        QVERIFY(QFile::remove(settingsfile::userFile()));
        QVERIFY(writeFile(QStringLiteral("blocked"), "a file where a folder should be"));
        qputenv("XDG_CONFIG_HOME", QDir::current().filePath(QStringLiteral("blocked")).toUtf8());
        Form1::Load();
        EndProgram();
        QCOMPARE(boxes::seam().messages.size(), 1);
        QVERIFY2(boxes::seam().messages.first().contains(QStringLiteral("nicht angelegt")),
                 qPrintable(boxes::seam().messages.first()));
    }
};

BEITRAGSBOX_TEST_MAIN(TestInstalled)
#include "tst_installed.moc"
