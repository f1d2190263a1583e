// The autosave timer's rules and the file it writes.
#include "app/Form1.h"
#include "app/modMain.h"
#include "markup/Text1Buffer.h"
#include "platform/window.h"
#include "settings/clsINIClass.h"

#include <QtTest>

#include "support.h"

namespace {
QStringList g_warnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg)
        g_warnings << message;
}
} // namespace

class TestAutosave : public QObject {
    Q_OBJECT

    TestFolders m_folders;

    static QByteArray readAutosave() { return readFile(QStringLiteral("autosave.txt")); }

private slots:
    // Enabled flag and interval are kept apart.
    void timerRules() {
        FormTimer timer;
        timer.setInterval(10000);
        QVERIFY(!timer.isTicking()); // disabled: stays silent whatever the interval
        timer.setEnabled(true);
        QVERIFY(timer.isTicking());
        timer.setInterval(0); // stops without touching the flag
        QVERIFY(!timer.isTicking());
        QVERIFY(timer.Enabled());
        timer.setInterval(5000);
        QVERIFY(timer.isTicking());
        timer.setEnabled(false);
        timer.setInterval(1000);
        QVERIFY(!timer.isTicking());
    }

    void delayFromSettings_data() {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("0") << "0" << 0 << false;
        QTest::newRow("1") << "1" << 1000 << true;
        QTest::newRow("65") << "65" << 65000 << true;
    }
    void delayFromSettings() {
        QFETCH(QString, delay);
        QFETCH(int, interval);
        QFETCH(bool, enabled);
        QCOMPARE(clsINIClass().lngWriteKey(QStringLiteral("AutoSaveDelay"), delay), 1);
        Form1* form = Form1::Load();
        QCOMPARE(form->Timer1->Interval(), interval);
        QCOMPARE(form->Timer1->Enabled(), enabled);
        QCOMPARE(form->Timer1->isTicking(), enabled);
        form->Unload(1);
    }

    // Each tick replaces the file with the text and CR LF, also while the window is hidden.
    void tickWritesText() {
        Form1* form = Form1::Load();
        form->hide();
        form->Timer1_Timer();
        form->finishAutosave();
        QCOMPARE(readAutosave(), QByteArray("\r\n"));
        form->buffer().setText(QString::fromUtf8("Grüße\r\nzwei"));
        form->Timer1_Timer();
        form->finishAutosave();
        QCOMPARE(readAutosave(), QByteArray("Gr\xc3\xbc\xc3\x9f"
                                            "e\r\nzwei\r\n"));
        form->Unload(1);
    }

    // A failing write never blocks: one report when it starts failing, one when it works again.
    void failuresReportedOncePerRun() {
        Form1* form = Form1::Load();
        const QString caption = form->windowTitle();
        QFile::remove(QStringLiteral("autosave.txt"));
        QVERIFY(QDir().mkdir(QStringLiteral("autosave.txt")));
        g_warnings.clear();
        const QtMessageHandler old = qInstallMessageHandler(collectWarnings);
        for (int i = 0; i < 3; ++i) {
            form->Timer1_Timer();
            form->finishAutosave();
            QCoreApplication::processEvents();
        }
        QCOMPARE(g_warnings.size(), 1);
        QVERIFY(g_warnings.first().contains(QStringLiteral("autosave.txt")));
        QVERIFY(form->windowTitle() != caption);
        QVERIFY(QDir().rmdir(QStringLiteral("autosave.txt")));
        for (int i = 0; i < 2; ++i) {
            form->Timer1_Timer();
            form->finishAutosave();
            QCoreApplication::processEvents();
        }
        qInstallMessageHandler(old);
        QCOMPARE(g_warnings.size(), 2);
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(readAutosave(), QByteArray("\r\n"));
        form->Unload(1);
    }
};

QTEST_MAIN(TestAutosave)
#include "tst_autosave.moc"
