// The autosave timer's rules and the file it writes.
#include "app/Form1.h"
#include "app/modMain.h"
#include "editor/Text1Buffer.h"
#include "platform/window.h"

#include <QtTest>

#include "support.h"

class TestAutosave : public QObject {
    Q_OBJECT

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
    }

    void delayFromSettings_data() {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<int>("interval");
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("65") << "65" << 65000;
    }
    void delayFromSettings() {
        QFETCH(QString, delay);
        QFETCH(int, interval);
        QCOMPARE(clsINIClass().lngWriteKey(QStringLiteral("AutoSaveDelay"), delay), 1);
        Form1* form = Form1::Load();
        QCOMPARE(form->Timer1->Interval(), interval);
        QCOMPARE(form->Timer1->Enabled(), interval > 0);
        form->Unload(1);
    }

    // Each tick replaces the file with the text and CR LF, also with the window hidden, as here.
    // A failing write never blocks: the caption and one warning tell when it starts failing, one
    // more warning when it works again.
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
        form->buffer().setText(QString::fromUtf8("Grüße\r\nzwei"));
        tick(1);
        const QByteArray written("Gr\xc3\xbc\xc3\x9f"
                                 "e\r\nzwei\r\n");
        QCOMPARE(readAutosave(), written);
        QVERIFY(QFile::remove(QStringLiteral("autosave.txt")));
        QVERIFY(QDir().mkdir(QStringLiteral("autosave.txt")));
        QTest::failOnWarning(QRegularExpression("autosave"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("autosave.txt.*nicht geschrieben"));
        tick(3);
        QVERIFY(form->windowTitle() != caption);
        QVERIFY(QDir().rmdir(QStringLiteral("autosave.txt")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("autosave.txt.*wieder geschrieben"));
        tick(2);
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(readAutosave(), written);
        form->Unload(1);
    }
};

BEITRAGSBOX_TEST_MAIN(TestAutosave)
#include "tst_autosave.moc"
