// The options dialog on the real main window: interval, colours, transparency, the quick-text
// editor and the system-information launcher.
#include "app/Form1.h"
#include "app/modMain.h"
#include "markup/TextField.h"
#include "options/Form2.h"
#include "options/SysInfo.h"
#include "platform/boxes.h"
#include "platform/window.h"
#include "settings/clsINIClass.h"
#include "snippets/frmEditPhrase.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "support.h"

class TestOptions : public QObject {
    Q_OBJECT

    TestFolders m_folders;
    Form1* m_form = nullptr;

private slots:
    void init() {
        boxes::seam().reset();
        boxes::seam().active = true;
        blnAlphaSupport = true;
        m_form = Form1::Load();
        m_form->show();
    }
    void cleanup() {
        if (Form1::instance())
            EndProgram();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void interval_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("message");
        QTest::newRow("66") << "66" << 65000 << "65" << true;
        QTest::newRow("65") << "65" << 65000 << "65" << false;
        QTest::newRow("empty") << "" << 0 << "" << false;
        QTest::newRow(".5") << ".5" << 500 << ".5" << false;
        QTest::newRow("negative") << "-5" << 0 << "-5" << false;
    }
    void interval() {
        QFETCH(QString, entry);
        QFETCH(int, interval);
        QFETCH(QString, field);
        QFETCH(bool, message);
        m_form->Timer1->setInterval(10000);
        m_form->Timer1->setEnabled(true);
        Form2* options = Form2::Load();
        QCOMPARE(options->Text2->text(), QStringLiteral("10"));
        QCOMPARE(options->Text2->maxLength(), 2);
        options->Text2->setText(entry);
        options->Command1->click();
        QCOMPARE(boxes::seam().messages,
                 message ? QStringList{QString::fromUtf8(
                               "Beitragsbox|0|Autosave-Intervall maximal 65 Sekunden.")}
                         : QStringList{});
        QCOMPARE(options->Text2->text(), field);
        QCOMPARE(m_form->Timer1->Interval(), interval);
        QCOMPARE(m_form->Timer1->isTicking(), interval > 0);
        QVERIFY(m_form->Timer1->Enabled());
        QVERIFY(!options->isVisible());
        QCOMPARE(Form2::instance(), options); // hidden, still loaded
    }

    // OK keeps the dialog loaded; Abbrechen unloads it and leaves the interval alone.
    void loadOnlyOnce() {
        m_form->Timer1->setInterval(500);
        const int runs = Form2::loadRuns();
        Form2* options = Form2::Load();
        QCOMPARE(options->Text2->text(), QStringLiteral("0"));
        QCOMPARE(options->Combo1->count(), 10);
        QCOMPARE(options->Combo1->currentIndex(), -1);
        options->Text2->setText(QStringLiteral("7"));
        options->Command1->click();
        QCOMPARE(Form2::Load(), options);
        QCOMPARE(Form2::loadRuns(), runs + 1);
        QCOMPARE(options->Text2->text(), QStringLiteral("7"));
        options->Text2->setText(QStringLiteral("9"));
        QTest::keyClick(options, Qt::Key_Escape); // as Abbrechen
        QVERIFY(!Form2::instance());
        QCOMPARE(m_form->Timer1->Interval(), 7000);
        QCOMPARE(Form2::Load()->Text2->text(), QStringLiteral("7"));
        QCOMPARE(Form2::loadRuns(), runs + 2);
    }

    void transparency() {
        Form2* options = Form2::Load();
        QVERIFY(options->hsbTransparency->isVisibleTo(options));
        QVERIFY(!options->lblNoAlphaSupport->isVisibleTo(options));
        QCOMPARE(options->hsbTransparency->maximum(), 255);
        QCOMPARE(options->hsbTransparency->pageStep(), 25);
        options->hsbTransparency->setValue(128);
        QCOMPARE(options->lblTransparency->text(), QStringLiteral("128"));
        QCOMPARE(bytTransparency, uint8_t(128));
        QCOMPARE(m_form->windowOpacity(), 127 / 255.0);
        options->hsbTransparency->setValue(255);
        QCOMPARE(m_form->windowOpacity(), 0.0);
        QVERIFY(m_form->isVisible()); // invisible but open
        options->hsbTransparency->setValue(30);
        options->cmdCancel->click(); // stays applied
        QCOMPARE(bytTransparency, uint8_t(30));
        EndProgram();
        QCOMPARE(clsINIClass().strGetKeyValue(QStringLiteral("Transparency")),
                 QStringLiteral("30"));
    }

    // Without window opacity a stored level is neither applied nor lost.
    void noAlphaSupport() {
        EndProgram();
        blnAlphaSupport = false;
        QCOMPARE(clsINIClass().lngWriteKey(QStringLiteral("Transparency"), QStringLiteral("200")),
                 1);
        m_form = Form1::Load();
        QCOMPARE(bytTransparency, uint8_t(200));
        QCOMPARE(m_form->windowOpacity(), 1.0);
        Form2* options = Form2::Load();
        QVERIFY(!options->hsbTransparency->isVisibleTo(options));
        QVERIFY(options->lblNoAlphaSupport->isVisibleTo(options));
        QCOMPARE(options->lblNoAlphaSupport->text(),
                 QString::fromUtf8("Ihre Windowsversion unterstützt kein AlphaBlending"));
        options->hsbTransparency->setValue(50);
        QCOMPARE(bytTransparency, uint8_t(200));
        QCOMPARE(m_form->windowOpacity(), 1.0);
        EndProgram();
        QCOMPARE(clsINIClass().strGetKeyValue(QStringLiteral("Transparency")),
                 QStringLiteral("200"));
    }

    void colours() {
        Form2* options = Form2::Load();
        boxes::seam().colors = {0x0000FF, std::nullopt, 0x00FF00, 0xFF0000, 0x123456};
        options->Command3->click(); // red window
        options->Command4->click(); // cancelled: nothing
        options->Command5->click();
        options->cmdBtnColor->click();
        options->Command4->click();
        QCOMPARE(window::backColor(m_form), 0x0000FF);
        QCOMPARE(window::backColor(m_form->Check3), 0x0000FF);
        QCOMPARE(m_form->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(window::foreColor(m_form->Text1), 0x123456);
        QCOMPARE(window::backColor(m_form->List1), 0x00FF00);
        QCOMPARE(window::backColor(m_form->cmdInfo), 0xFF0000);

        options->Command6->click(); // Reset
        QCOMPARE(window::backColor(m_form), window::kButtonFace);
        QCOMPARE(window::backColor(m_form->Command1), window::kButtonFace);
        QCOMPARE(window::foreColor(m_form->Text1), window::kWindowText);
        QCOMPARE(window::backColor(m_form->Text1), window::kWindowBackground);
        QCOMPARE(window::backColor(m_form->List1), window::kWindowBackground);
    }

    // The real colour chooser: black preselected, custom colours near-white.
    void realColourChooser() {
        boxes::seam().active = false;
        Form2* options = Form2::Load();
        QColor preselected, custom;
        whenModal<QColorDialog>(this, [&](QColorDialog* dialog) {
            preselected = dialog->currentColor();
            custom = QColorDialog::customColor(5);
            dialog->setCurrentColor(QColor(10, 20, 30));
            dialog->accept();
        });
        options->Command4->click();
        QCOMPARE(preselected, QColor(0, 0, 0));
        QCOMPARE(custom, QColor(254, 254, 254));
        QCOMPARE(window::foreColor(m_form->Text1), 10 | (20 << 8) | (30 << 16));
        whenModal<QColorDialog>(this, [](QColorDialog* dialog) { dialog->reject(); });
        options->Command4->click();
        QCOMPARE(window::foreColor(m_form->Text1), 10 | (20 << 8) | (30 << 16));
    }

    // Editing quick text 3: file, table and both lists; the editor reads the file each time.
    void editQuickText() {
        Form2* options = Form2::Load();
        options->cmdEditPhrase->click(); // nothing chosen: nothing happens
        QVERIFY(!frmEditPhrase::instance());
        options->Combo1->setCurrentIndex(3);
        auto editTo = [&](const QString& text, bool ok, QString* shown) {
            whenModal<frmEditPhrase>(this, [=](frmEditPhrase* editor) {
                *shown = editor->Text1->toPlainText();
                if (!text.isNull())
                    editor->Text1->setPlainText(text);
                (ok ? editor->cmdOK : editor->cmdCancel)->click();
            });
            options->cmdEditPhrase->click();
        };
        QString shown;
        editTo(QStringLiteral("Hallo"), true, &shown);
        QCOMPARE(shown, QString());
        QCOMPARE(readFile(QStringLiteral("user3.txt")), QByteArray("Hallo\r\n"));
        QCOMPARE(strQuickText[3], QStringLiteral("Hallo"));
        QCOMPARE(m_form->Combo1->itemText(3), QStringLiteral("3 Hallo"));
        QCOMPARE(options->Combo1->itemText(3), QStringLiteral("3 Hallo"));

        editTo(QString(), true, &shown); // unchanged: one more line end
        QCOMPARE(shown, QStringLiteral("Hallo\n"));
        QCOMPARE(readFile(QStringLiteral("user3.txt")), QByteArray("Hallo\r\n\r\n"));

        editTo(QStringLiteral("verworfen"), false, &shown);
        QCOMPARE(readFile(QStringLiteral("user3.txt")), QByteArray("Hallo\r\n\r\n"));
        QCOMPARE(strQuickText[3], QStringLiteral("Hallo\r\n"));
        QVERIFY(!frmEditPhrase::instance());
    }

    // A file that cannot be written: the editor stays open with the text.
    void editQuickTextWriteFails() {
        QVERIFY(QDir().mkdir(QStringLiteral("user4.txt")));
        Form2* options = Form2::Load();
        options->Combo1->setCurrentIndex(4);
        bool stillOpen = false;
        QString kept;
        whenModal<frmEditPhrase>(this, [&](frmEditPhrase* editor) {
            editor->Text1->setPlainText(QStringLiteral("wichtig"));
            editor->cmdOK->click();
            stillOpen = editor->isVisible();
            kept = editor->Text1->toPlainText();
            editor->cmdCancel->click();
        });
        options->cmdEditPhrase->click();
        QVERIFY(stillOpen);
        QCOMPARE(kept, QStringLiteral("wichtig"));
        QCOMPARE(boxes::seam().messages.size(), 1);
        QVERIFY(boxes::seam().messages.first().contains(QStringLiteral("\"user4.txt\"")));
        QCOMPARE(strQuickText[4], QString());
        QDir().rmdir(QStringLiteral("user4.txt"));
    }

    void systemInformation() {
        QTemporaryDir bin;
        const QString marker = bin.filePath(QStringLiteral("started"));
        auto script = [&](const QString& name, const QByteArray& body) {
            QFile f(bin.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(body);
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
        script(QStringLiteral("hardinfo"), "#!/bin/sh\necho \"$@\" > '" + marker.toUtf8() + "'\n");
        StartSysInfo({bin.path()});
        QTRY_VERIFY(QFile::exists(marker));
        QVERIFY(boxes::seam().messages.isEmpty());

        StartSysInfo({});
        QStringList expected{
            QString::fromUtf8("Beitragsbox|0|System-Informationen sind augenblicklich nicht "
                              "verfügbar.")};
        QCOMPARE(boxes::seam().messages, expected);

        // Found but not startable: its interpreter is missing.
        QFile::remove(bin.filePath(QStringLiteral("hardinfo")));
        script(QStringLiteral("kinfocenter"), "#!/nonexistent/interpreter\n");
        StartSysInfo({bin.path()});
        expected << expected.first();
        QCOMPARE(boxes::seam().messages, expected);
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
