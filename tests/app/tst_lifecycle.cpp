// Start and end of the program: caption, EndProgram and the end signals.
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/InfoWindows.h"
#include "platform/boxes.h"
#include "platform/window_loaded.h"
#include "platform/window_system.h"

#include <QtTest>

#include <csignal>
#include <sys/stat.h>

#include "support.h"

class TestLifecycle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installEndHandlers(); }

    void startShowsCaption() {
        Main();
        Form1* form = Form1::instance();
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("Beitragsbox 2.0.0"));
        QCOMPARE(form->alphaSupport(), false); // the offscreen platform applies no opacity
        QVERIFY(window::alphaSupportFor(QStringLiteral("xcb"), true));
        QVERIFY(!window::alphaSupportFor(QStringLiteral("xcb"), false)); // no compositor
        QVERIFY(!window::alphaSupportFor(QStringLiteral("wayland"), true));
        QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(form->windowFlags() & Qt::WindowMaximizeButtonHint);
        EndProgram();
    }

    // EndProgram re-enters itself through the window's unloading; the window is unloaded once.
    void endProgramUnloadsOnce() {
        Main();
        QPointer<Form1> form = Form1::instance();
        QSignalSpy unloaded(Form1::instance(), &Form1::unloaded);
        EndProgram();
        EndProgram();
        QCOMPARE(unloaded.size(), 1);
        QVERIFY(!Form1::instance());
        QTRY_VERIFY(form.isNull());
    }

    // A signal while a modal box is open ends the program at once: the box closes and its text
    // goes to stderr. Before the other signal tests: after an end by signal every box goes to
    // stderr.
    void signalClosesModalBox() {
        Main();
        QSignalSpy unloaded(Form1::instance(), &Form1::unloaded);
        QTimer::singleShot(200, [] { std::raise(SIGTERM); });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Beitragsbox: Bitte warten$"));
        QElapsedTimer shown;
        shown.start();
        boxes::MsgBox(QStringLiteral("Bitte warten"));
        QVERIFY(shown.elapsed() < 1000);
        QCOMPARE(unloaded.size(), 1);
        QTRY_VERIFY(!Form1::instance());
        QCOMPARE(window::loadedCount(), 0);
    }

    // SIGTERM: the e2e tests end the real program with it.
    void endSignals_data() {
        QTest::addColumn<int>("sig");
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void endSignals() {
        QFETCH(int, sig);
        Main();
        QSignalSpy unloaded(Form1::instance(), &Form1::unloaded);
        std::raise(sig);
        QTRY_VERIFY(!Form1::instance());
        QCOMPARE(unloaded.size(), 1);
        QCOMPARE(window::loadedCount(), 0);
    }

    // Pipes named like the quick-text and help files count as unreadable: the start and the
    // help windows go on with empty texts and leave them alone.
    void pipesDoNotBlock() {
        for (const char* name : {"user0.txt", "readme.txt", "kurzhilfe.txt"})
            QVERIFY(::mkfifo(name, 0600) == 0);
        Main();
        QCOMPARE(Form1::instance()->quickText(0), QString());
        QCOMPARE(readShownFile(QStringLiteral("readme.txt")), QString());
        QVERIFY(!QFileInfo(QStringLiteral("readme.txt")).isFile());
        EndProgram();
        for (const char* name : {"user0.txt", "readme.txt", "kurzhilfe.txt"})
            QVERIFY(QFile::remove(QString::fromLatin1(name)));
    }
};

BEITRAGSBOX_TEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
