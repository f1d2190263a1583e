// The settings file: single keys through clsINIClass, reading the nine settings into the main
// window and writing them back at the end.
#include "app/DraftKeeper.h"
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/Form2.h"
#include "editor/TextField.h"
#include "editor/WritingAids.h"
#include "platform/boxes.h"
#include "platform/window_colors.h"
#include "text/Config.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>

#include "support.h"

class TestSettings : public QObject {
    Q_OBJECT

    QString iniPath() const { return clsINIClass().strDefaultFileName(); }
    void writeIni(const QByteArray& bytes) { QVERIFY(writeFile(iniPath(), bytes)); }
    QByteArray readIni() const { return readFile(iniPath()); }

private slots:
    void init() {
        QFile::remove(iniPath());
        boxes::seam().reset();
        boxes::seam().active = true;
    }
    // A failed check leaves no window loaded for the next case.
    void cleanup() { EndProgram(); }

    void settingValue_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("fallback");
        QTest::addColumn<int>("value");
        QTest::newRow("not a number gives 0") << "abc" << -5 << 5 << 7 << 0;
        QTest::newRow("2.5 rounds to 2") << "2.5" << 0 << 65 << 0 << 2;
        QTest::newRow("scheme entry 0")
            << "-2147483648" << config::kColorMin << config::kColorMax << 0 << config::kColorMin;
        QTest::newRow("beyond 32 bits") << "99999999999" << 0 << 255 << 0 << 255;
        QTest::newRow("&H beyond 32 bits gives fallback") << "&H100000000" << 0 << 255 << 7 << 7;
    }
    void settingValue() {
        QFETCH(QString, stored);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, fallback);
        QFETCH(int, value);
        QCOMPARE(config::settingValue(stored, maximum, minimum, fallback), value);
    }

    // Keys in the settings file of the program folder; an empty section means "GENERAL".
    void iniClass() {
        const clsINIClass ini;
        QCOMPARE(QFileInfo(iniPath()).absolutePath(),
                 QFileInfo(TestFolders::programPath).absoluteFilePath());
        QCOMPARE(ini.lngWriteKey("Long", QString(255, u'v')), 1);
        QCOMPARE(ini.lngWriteKey("Long", QString(256, u'w')), -1);
        QCOMPARE(ini.lngWriteKey("Smiley005", ":g:"), 1);
        QCOMPARE(ini.lngWriteKey("Smiley005", ":s:", "SMILIES"), 1);
        QCOMPARE(ini.lngDeleteKey("Smiley005", QString()), 1);
        QCOMPARE(ini.strGetKeyValue("Smiley005", "SMILIES"), QStringLiteral(":s:"));
        QCOMPARE(readIni(), "[GENERAL]\r\nLong=" + QByteArray(255, 'v') +
                                "\r\n[SMILIES]\r\nSmiley005=:s:\r\n");
    }

    // No settings file: readable colours at start, and the first end writes all nine keys, then
    // the writing aids' switches, all on, German.
    void firstRunWritesAllKeys() {
        Form1* form = Form1::Load();
        QCOMPARE(form->Text1->palette().color(QPalette::Text),
                 QApplication::palette().color(QPalette::Text));
        form->Timer1->setInterval(500); // a fractional entry of the options dialog
        EndProgram();
        QCOMPARE(readIni(), QByteArray("[GENERAL]\r\nAutoQuote=0\r\nAutoSave=0\r\nAlwaysOnTop=0\r\n"
                                       "FormBackColor=-2147483633\r\nTextColor=-2147483640\r\n"
                                       "TextBackColor=-2147483643\r\n"
                                       "ButtonBackColor=-2147483633\r\nTransparency=0\r\n"
                                       "AutoSaveDelay=0\r\nSpellCheck=1\r\n"
                                       "SpellLanguage=de_DE\r\nSpellCheckQuotes=1\r\n"
                                       "CheckTags=1\r\nKeepDrafts=1\r\nPreview=0\r\n"
                                       "PreviewLeft=0\r\nPreviewTop=0\r\nPreviewWidth=0\r\n"
                                       "PreviewHeight=0\r\nPasteColors=0\r\n"));
    }

    // What is saved comes from the window, so the file written back also pins what was read.
    void loadAndSaveRoundTrip() {
        writeIni("; mine\r\n[general]\r\nautoquote = 1\r\nAutoSave=1.5\r\nFormBackColor=255\r\n"
                 "AutoSaveDelay=300\r\nTextColor=65280\r\nTextBackColor=&HFF0000\r\n"
                 "ButtonBackColor=-2147483648\r\nTransparency=128\r\nSpellCheck=0\r\n"
                 "CheckTags=0\r\nSpellLanguage=de_CH\r\nKeepDrafts=0\r\n[SMILIES]\r\nSmiley001=:"
                 "smile:\r\n");
        Form1* form = Form1::Load();
        QCOMPARE(form->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(window::backColor(form->Check2), 255);
        QCOMPARE(form->Text1->palette().color(QPalette::Text), QColor(0, 255, 0));
        QCOMPARE(form->List1->palette().color(QPalette::Base), QColor(0, 0, 255));
        QCOMPARE(window::backColor(form->cmdInfo), config::kColorMin);
        QCOMPARE(form->List1->count(), 1);
        QCOMPARE(form->Combo1->currentIndex(), -1);
        QVERIFY(!form->aids().spellChecking());
        QVERIFY(!form->aids().tagCheck());
        QVERIFY(form->aids().quotesChecked());
        QCOMPARE(form->aids().language(), QStringLiteral("de_CH"));
        QVERIFY(!form->drafts().enabled());
        EndProgram();
        // Every value line rewritten in place, the rest of the file kept.
        QCOMPARE(
            readIni(),
            QByteArray(
                "; mine\r\n[general]\r\nautoquote=1\r\nAutoSave=1\r\n"
                "FormBackColor=255\r\nAutoSaveDelay=65\r\nTextColor=65280\r\n"
                "TextBackColor=16711680\r\nButtonBackColor=-2147483646\r\n"
                "Transparency=128\r\nSpellCheck=0\r\nCheckTags=0\r\n"
                "SpellLanguage=de_CH\r\nKeepDrafts=0\r\nAlwaysOnTop=0\r\n"
                "SpellCheckQuotes=1\r\nPreview=0\r\nPreviewLeft=0\r\n"
                "PreviewTop=0\r\nPreviewWidth=0\r\nPreviewHeight=0\r\nPasteColors=0\r\n[SMILIES]"
                "\r\nSmiley001=:smile:\r\n"));
    }

    // AS switches autosave. A file from the Windows program (none of the added keys), where
    // the delay alone ran autosave, starts with AS ticked; the tick is written back.
    void olderFileKeepsAutosave_data() {
        QTest::addColumn<bool>("addedKeys");
        QTest::addColumn<int>("autoSave");
        QTest::addColumn<int>("delay");
        QTest::addColumn<bool>("ticked");
        for (const bool added : {false, true})
            for (const int autoSave : {0, 1})
                for (const int delay : {0, 3})
                    QTest::addRow("%s AutoSave=%d delay=%d", added ? "with added keys" : "older",
                                  autoSave, delay)
                        << added << autoSave << delay << (autoSave == 1 || (!added && delay > 0));
    }
    void olderFileKeepsAutosave() {
        QFETCH(bool, addedKeys);
        QFETCH(int, autoSave);
        QFETCH(int, delay);
        QFETCH(bool, ticked);
        writeIni(QStringLiteral("[GENERAL]\r\nAutoSave=%1\r\nAutoSaveDelay=%2\r\n%3")
                     .arg(autoSave)
                     .arg(delay)
                     .arg(addedKeys ? "CheckTags=1\r\n" : "")
                     .toLatin1());
        Form1* form = Form1::Load();
        Form2* options = form->loadOptions();
        QCOMPARE(form->Check2->isChecked(), ticked);
        // A ticked AS always autosaves: without a delay, every 10 seconds.
        QCOMPARE(form->Timer1->isTicking(), ticked);
        QCOMPARE(form->Timer1->Interval(), ticked && delay == 0 ? 10000 : delay * 1000);
        form->Check2->click(); // switches at once; ticked, a missing delay shows as 10
        QCOMPARE(form->Timer1->isTicking(), !ticked);
        if (!ticked)
            QCOMPARE(options->Text2->text(), QString::number(delay == 0 ? 10 : delay));
        form->Check2->click();
        EndProgram();
        QVERIFY(readIni().contains("AutoSave=" + QByteArray::number(ticked ? 1 : 0) + "\r\n"));
    }

    // A settings file that cannot be written (a folder of its name stands in the way): the
    // user hears of it, a signal's end only logs it.
    void saveFailureIsReported_data() {
        QTest::addColumn<bool>("byUser");
        QTest::newRow("user ended") << true;
        QTest::newRow("signal ended") << false;
    }
    void saveFailureIsReported() {
        QFETCH(bool, byUser);
        Form1::Load()->setEndReason(byUser ? EndReason::User : EndReason::Signal);
        QVERIFY(QDir().mkdir(iniPath()));
        if (!byUser)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Einstellungen"));
        EndProgram();
        QCOMPARE(boxes::seam().messages.filter(QFileInfo(iniPath()).fileName()).size(),
                 int(byUser));
        QVERIFY(QDir().rmdir(iniPath()));
    }

    // A settings file that exists but cannot be read (a folder or a pipe of its name) is never
    // replaced: the user hears of it at the start and at the end, and the start does not block.
    void unreadableFileIsKept_data() {
        QTest::addColumn<bool>("pipe");
        QTest::newRow("folder") << false;
        QTest::newRow("pipe") << true;
    }
    void unreadableFileIsKept() {
        QFETCH(bool, pipe);
        if (pipe)
            QVERIFY(::mkfifo(QFile::encodeName(iniPath()).constData(), 0600) == 0);
        else
            QVERIFY(QDir().mkdir(iniPath()));
        Form1::Load();
        QCOMPARE(boxes::seam().messages.size(), 1);
        QVERIFY(boxes::seam().messages.first().contains(QStringLiteral("nicht gelesen")));
        EndProgram();
        QCOMPARE(boxes::seam().messages.size(), 2);
        QVERIFY(boxes::seam().messages.last().contains(QStringLiteral("unverändert")));
        const QFileInfo kept(iniPath());
        QVERIFY(pipe ? !kept.isFile() && kept.exists() : kept.isDir());
        QVERIFY(QFile::remove(iniPath()) || QDir().rmdir(iniPath()));
    }

    // A program installed below /usr keeps its settings in the user's folder even when run by
    // root, who could write beside it: the package's starter file stays as shipped.
    void systemProgramFolderIsNotWritten() {
        const QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        settingsfile::setProgramFolderForTests(QStringLiteral("/usr/bin"));
        const settingsfile::WritePlace place = settingsfile::prepareWrite();
        const QString defaultPath = settingsfile::defaultPath();
        settingsfile::setProgramFolderForTests(TestFolders::programPath);
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(place.ok);
        QVERIFY2(place.path.startsWith(config.path() + QLatin1Char('/')), qPrintable(place.path));
        QVERIFY2(defaultPath.startsWith(QLatin1String("/usr/bin/")), qPrintable(defaultPath));
        QCOMPARE(settingsfile::prepareWrite().path, iniPath());
    }
};

BEITRAGSBOX_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
