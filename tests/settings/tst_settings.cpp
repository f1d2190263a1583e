// The settings file: single keys through clsINIClass, reading the nine settings into the main
// window and writing them back at the end.
#include "app/Form1.h"
#include "app/modMain.h"
#include "markup/TextField.h"
#include "platform/boxes.h"
#include "platform/window.h"
#include "settings/Config.h"
#include "settings/clsINIClass.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "support.h"

class TestSettings : public QObject {
    Q_OBJECT

    TestFolders m_folders;

    QString iniPath() const { return clsINIClass().strDefaultFileName(); }
    void writeIni(const QByteArray& bytes) { QVERIFY(writeFile(iniPath(), bytes)); }
    QByteArray readIni() const { return readFile(iniPath()); }

private slots:
    void init() {
        QFile::remove(iniPath());
        boxes::seam().reset();
        boxes::seam().active = true;
        endReason = EndReason::User;
    }

    void settingValue_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("fallback");
        QTest::addColumn<int>("value");
        QTest::newRow("1") << "1" << 0 << 1 << 0 << 1;
        QTest::newRow("1.5 rounds to 2, held to 1") << "1.5" << 0 << 1 << 0 << 1;
        QTest::newRow("0.5 rounds to 0") << "0.5" << 0 << 1 << 1 << 0;
        QTest::newRow("2.5 rounds to 2") << "2.5" << 0 << 65 << 0 << 2;
        QTest::newRow("delay 300 held to 65") << "300" << 0 << 65 << 0 << 65;
        QTest::newRow("transparency -5") << "-5" << 0 << 255 << 0 << 0;
        QTest::newRow("scheme entry 0")
            << "-2147483648" << config::kColorMin << config::kColorMax << 0 << config::kColorMin;
        QTest::newRow("not a number") << "abc" << config::kColorMin << config::kColorMax << 7 << 0;
        QTest::newRow("empty gives fallback") << "" << 0 << 65 << 7 << 7;
        QTest::newRow("beyond 32 bits") << "99999999999" << 0 << 255 << 0 << 255;
        QTest::newRow("huge negative") << "-9e99" << 0 << 255 << 3 << 0;
        QTest::newRow("hex") << "&HFF" << 0 << 255 << 0 << 255;
        QTest::newRow("blanks inside") << " 1 2 " << 0 << 65 << 0 << 12;
    }
    void settingValue() {
        QFETCH(QString, stored);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, fallback);
        QFETCH(int, value);
        QCOMPARE(config::settingValue(stored, maximum, minimum, fallback), value);
    }

    void iniClass() {
        const clsINIClass ini;
        QCOMPARE(ini.strDefaultSection(), QStringLiteral("GENERAL"));
        QCOMPARE(QFileInfo(ini.strDefaultFileName()).absolutePath(),
                 QFileInfo(m_folders.program.path()).absoluteFilePath());
        QCOMPARE(ini.strGetKeyValue(QStringLiteral("AutoSave")), QString());
        QVERIFY(!QFile::exists(iniPath()));
        QCOMPARE(ini.lngWriteKey(QStringLiteral("AutoSave"), QStringLiteral("1")), 1);
        QCOMPARE(ini.strGetKeyValue(QStringLiteral("autosave")), QStringLiteral("1"));
        QCOMPARE(ini.strGetKeyValue(QStringLiteral("AutoSave"), QStringLiteral("SMILIES")),
                 QString());

        const QString v255(255, u'v');
        QCOMPARE(ini.lngWriteKey(QStringLiteral("Long"), v255), 1);
        QCOMPARE(ini.strGetKeyValue(QStringLiteral("Long")), v255.left(254));
        const QByteArray before = readIni();
        QCOMPARE(ini.lngWriteKey(QStringLiteral("Long"), v255 + u'w'), -1);
        QCOMPARE(readIni(), before);

        // An empty section means the default section, also when deleting.
        QCOMPARE(ini.lngWriteKey(QStringLiteral("Smiley005"), QStringLiteral(":g:")), 1);
        QCOMPARE(ini.lngWriteKey(QStringLiteral("Smiley005"), QStringLiteral(":s:"),
                                 QStringLiteral("SMILIES")),
                 1);
        ini.lngDeleteKey(QStringLiteral("Smiley005"), QString());
        QCOMPARE(ini.strGetKeyValue(QStringLiteral("Smiley005")), QString());
        QCOMPARE(ini.strGetKeyValue(QStringLiteral("Smiley005"), QStringLiteral("SMILIES")),
                 QStringLiteral(":s:"));
    }

    // No settings file: readable colours at start, and the first end writes all nine keys.
    void firstRunWritesAllKeys() {
        Form1* form = Form1::Load();
        QCOMPARE(window::foreColor(form->Text1), window::kWindowText);
        QCOMPARE(window::backColor(form->Text1), window::kWindowBackground);
        QCOMPARE(form->Text1->palette().color(QPalette::Text),
                 QApplication::palette().color(QPalette::Text));
        QVERIFY(!form->Timer1->Enabled());
        form->Timer1->setInterval(500); // a fractional entry of the options dialog
        EndProgram();
        QCOMPARE(readIni(), QByteArray("[GENERAL]\r\nAutoQuote=0\r\nAutoSave=0\r\nAlwaysOnTop=0\r\n"
                                       "FormBackColor=-2147483633\r\nTextColor=-2147483640\r\n"
                                       "TextBackColor=-2147483643\r\n"
                                       "ButtonBackColor=-2147483633\r\nTransparency=0\r\n"
                                       "AutoSaveDelay=0\r\n"));
    }

    void loadAndSaveRoundTrip() {
        writeIni("; mine\r\n[general]\r\nautoquote = 1\r\nAutoSave=1.5\r\nFormBackColor=255\r\n"
                 "AutoSaveDelay=300\r\nTextColor=65280\r\nTextBackColor=&HFF0000\r\n"
                 "ButtonBackColor=-2147483648\r\nTransparency=128\r\n[SMILIES]\r\n"
                 "Smiley001=:smile:\r\n");
        Form1* form = Form1::Load();
        QCOMPARE(form->Check1->checkState(), Qt::Checked);
        QCOMPARE(form->Check2->checkState(), Qt::Checked);
        QCOMPARE(form->Check3->checkState(), Qt::Unchecked);
        QCOMPARE(form->Timer1->Interval(), 65000);
        QVERIFY(form->Timer1->Enabled());
        QCOMPARE(form->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(window::backColor(form->Check2), 255);
        QCOMPARE(form->Text1->palette().color(QPalette::Text), QColor(0, 255, 0));
        QCOMPARE(form->List1->palette().color(QPalette::Base), QColor(0, 0, 255));
        QCOMPARE(window::backColor(form->cmdInfo), config::kColorMin);
        QCOMPARE(bytTransparency, uint8_t(128));
        QCOMPARE(form->List1->count(), 1);
        QCOMPARE(form->Combo1->count(), 13);
        QCOMPARE(form->Combo1->currentIndex(), -1);
        EndProgram();
        // Every value line rewritten in place, the rest of the file kept.
        QCOMPARE(readIni(),
                 QByteArray("; mine\r\n[general]\r\nautoquote=1\r\nAutoSave=1\r\n"
                            "FormBackColor=255\r\nAutoSaveDelay=65\r\nTextColor=65280\r\n"
                            "TextBackColor=16711680\r\nButtonBackColor=-2147483646\r\n"
                            "Transparency=128\r\nAlwaysOnTop=0\r\n[SMILIES]\r\n"
                            "Smiley001=:smile:\r\n"));
    }

    // A settings file that cannot be written: the user hears of it and the old file stays.
    void saveFailureIsReported_data() {
        QTest::addColumn<bool>("byUser");
        QTest::newRow("user ended") << true;
        QTest::newRow("signal ended") << false;
    }
    void saveFailureIsReported() {
        QFETCH(bool, byUser);
        writeIni("[GENERAL]\r\nAutoQuote=1\r\n");
        Form1::Load();
        // The folder turns into one that cannot take the new file: a directory of the file's
        // name stands where the replacement must go.
        QVERIFY(QFile::remove(iniPath()));
        QVERIFY(QDir().mkdir(iniPath()));
        endReason = byUser ? EndReason::User : EndReason::Signal;
        if (!byUser)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Einstellungen"));
        EndProgram();
        QCOMPARE(boxes::seam().messages.size(), byUser ? 1 : 0);
        if (byUser)
            QVERIFY(boxes::seam().messages.first().contains(QFileInfo(iniPath()).fileName()));
        QVERIFY(QFileInfo(iniPath()).isDir());
        QDir().rmdir(iniPath());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
