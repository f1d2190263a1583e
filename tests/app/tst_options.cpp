// The options dialog on the real main window: interval, colours, transparency, the quick-text
// editor and the system-information launcher.
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/Form2.h"
#include "dialogs/frmEditPhrase.h"
#include "editor/TextField.h"
#include "platform/SysInfo.h"
#include "platform/boxes.h"
#include "platform/window_colors.h"

#include <QtTest>
#include <QtWidgets>

#include "support.h"

class TestOptions : public QObject {
    Q_OBJECT

    Form1* m_form = nullptr;

private slots:
    void init() {
        boxes::seam().reset();
        boxes::seam().active = true;
        m_form = Form1::Load();
    }
    void cleanup() {
        if (Form1::instance())
            EndProgram();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void interval_data() {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("interval");
        QTest::newRow("66") << false << "66" << 65000;
        QTest::newRow("65") << false << "65" << 65000;
        QTest::newRow("empty") << false << "" << 0;
        QTest::newRow(".5") << false << ".5" << 500;
        QTest::newRow("negative, AS ticked") << true << "-5" << 0;
    }
    // Above 65 s: a message and 65 in the field. Interval 0 stops the timer but leaves it enabled.
    // An interval above 0 ticks AS; 0 leaves AS as it was.
    void interval() {
        QFETCH(bool, ticked);
        QFETCH(QString, entry);
        QFETCH(int, interval);
        m_form->Check2->setChecked(ticked);
        m_form->Timer1->setInterval(10000);
        m_form->Timer1->setEnabled(true);
        Form2* options = m_form->loadOptions();
        QCOMPARE(options->Text2->text(), QStringLiteral("10"));
        options->Text2->setText(entry);
        options->Command1->click();
        const bool tooLong = entry == QStringLiteral("66");
        QCOMPARE(boxes::seam().messages,
                 QStringList(tooLong, "Beitragsbox|0|Autosave-Intervall maximal 65 Sekunden."));
        QCOMPARE(options->Text2->text(), tooLong ? QStringLiteral("65") : entry);
        QCOMPARE(m_form->Timer1->Interval(), interval);
        QCOMPARE(m_form->Timer1->isTicking(), interval > 0);
        QVERIFY(m_form->Timer1->Enabled());
        QCOMPARE(m_form->Check2->isChecked(), ticked || interval > 0);
    }

    // OK hides the dialog, which stays loaded with its fields; Esc unloads it like Abbrechen
    // without taking the interval.
    void okKeepsEscUnloads() {
        m_form->Timer1->setInterval(500);
        Form2* options = m_form->loadOptions();
        QCOMPARE(options->Text2->text(), QStringLiteral("0"));
        QCOMPARE(options->Combo1->count(), 10);
        QCOMPARE(options->Combo1->currentIndex(), -1);
        options->show();
        options->Text2->setText(QStringLiteral("7"));
        options->Command1->click();
        QVERIFY(!options->isVisible());
        options->Text2->setText(QStringLiteral("9"));
        QCOMPARE(m_form->loadOptions()->Text2->text(), QStringLiteral("9")); // no second Form_Load
        QTest::keyClick(options, Qt::Key_Escape);
        QCOMPARE(m_form->Timer1->Interval(), 7000);
        QCOMPARE(m_form->loadOptions()->Text2->text(), QStringLiteral("7"));
    }

    void transparency_data() {
        QTest::addColumn<bool>("alpha");
        QTest::newRow("opacity") << true;
        QTest::newRow("no opacity") << false;
    }
    // Level 255 leaves the window at the lowest opacity, not invisible; Abbrechen keeps the level
    // and the end saves it. Without window opacity a stored level is neither applied nor lost.
    void transparency() {
        QFETCH(bool, alpha);
        EndProgram();
        QCOMPARE(clsINIClass().lngWriteKey("Transparency", "200"), 1);
        m_form = Form1::Load(alpha);
        m_form->show();
        QCOMPARE(m_form->windowOpacity(), alpha ? 55 / 255.0 : 1.0);
        Form2* options = m_form->loadOptions();
        QCOMPARE(options->hsbTransparency->isVisibleTo(options), alpha);
        QCOMPARE(options->lblNoAlphaSupport->isVisibleTo(options), !alpha);
        options->hsbTransparency->setValue(255);
        QVERIFY(qAbs(m_form->windowOpacity() - (alpha ? 0.15 : 1.0)) < 0.01); // never out of reach
        QVERIFY(m_form->isVisible());
        options->hsbTransparency->setValue(30);
        QCOMPARE(options->lblTransparency->text(), QStringLiteral("30"));
        options->cmdCancel->click();
        QVERIFY(!Form2::instance());
        EndProgram();
        QCOMPARE(clsINIClass().strGetKeyValue("Transparency"), QString(alpha ? "30" : "200"));
    }

    // Each button's targets; a cancelled choice changes nothing.
    void colours() {
        Form2* options = m_form->loadOptions();
        boxes::seam().colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, std::nullopt, std::nullopt};
        for (QPushButton* button : {options->Command3, options->Command5, options->cmdBtnColor,
                                    options->Command4, options->Command4, options->Command3})
            button->click();
        using namespace window;
        const auto shown = [this] {
            return QList<qint32>{backColor(m_form), backColor(m_form->Check3),
                                 backColor(m_form->List1), backColor(m_form->cmdInfo),
                                 foreColor(m_form->Text1)};
        };
        QCOMPARE(shown(), (QList<qint32>{0x0000FF, 0x0000FF, 0x00FF00, 0xFF0000, 0x123456}));
        options->Command6->click(); // Reset
        QCOMPARE(shown(), (QList<qint32>{kButtonFace, kButtonFace, kWindowBackground, kButtonFace,
                                         kWindowText}));
    }

    // The real colour chooser: black preselected each time, custom colours near-white.
    void realColourChooser() {
        boxes::seam().active = false;
        Form2* options = m_form->loadOptions();
        QStringList seen; // the preselected and a custom colour, each time
        for (bool accept : {true, false}) {
            whenModal<QColorDialog>(this, [&, accept](QColorDialog* dialog) {
                seen << dialog->currentColor().name() + QColorDialog::customColor(5).name();
                dialog->setCurrentColor(accept ? QColor(10, 20, 30) : QColor(Qt::white));
                accept ? dialog->accept() : dialog->reject();
            });
            options->Command4->click();
        }
        QCOMPARE(seen, QStringList(2, QStringLiteral("#000000#fefefe")));
        QCOMPARE(window::foreColor(m_form->Text1), 10 | (20 << 8) | (30 << 16));
    }

    // The editor reads the file each time and writes file, table and both lists; a file that
    // cannot be written keeps the editor open with the text.
    void editQuickText() {
        Form2* options = m_form->loadOptions();
        options->cmdEditPhrase->click(); // nothing chosen: nothing happens
        QVERIFY(!frmEditPhrase::instance());
        QString kept; // the text of an editor still open after the click
        auto edit = [&](int n, const QString& text, bool ok) {
            options->Combo1->setCurrentIndex(n);
            whenModal<frmEditPhrase>(this, [&, text, ok](frmEditPhrase* editor) {
                editor->Text1->insertPlainText(text);
                (ok ? editor->cmdOK : editor->cmdCancel)->click();
                if (editor->isVisible()) {
                    kept = editor->Text1->toPlainText();
                    editor->cmdCancel->click();
                }
            });
            options->cmdEditPhrase->click();
        };
        edit(3, QStringLiteral("Hallo"), true);
        QCOMPARE(readFile(QStringLiteral("user3.txt")), QByteArray("Hallo\r\n"));
        edit(3, QString(), true); // unchanged: one more line end
        edit(3, QStringLiteral("verworfen"), false);
        QCOMPARE(readFile(QStringLiteral("user3.txt")), QByteArray("Hallo\r\n\r\n"));
        QCOMPARE(m_form->quickText(3), QStringLiteral("Hallo\r\n"));
        QCOMPARE(m_form->Combo1->itemText(3), QStringLiteral("3 Hallo\r\n"));
        QCOMPARE(options->Combo1->itemText(3), QStringLiteral("3 Hallo\r\n"));
        QVERIFY(kept.isNull());

        QVERIFY(QDir().mkdir(QStringLiteral("user4.txt")));
        edit(4, QStringLiteral("wichtig"), true);
        QCOMPARE(kept, QStringLiteral("wichtig"));
        QCOMPARE(boxes::seam().messages.filter(QStringLiteral("\"user4.txt\"")).size(), 1);
        QCOMPARE(m_form->quickText(4), QString());
    }

    // A tool found in the folders is started; none, or one that cannot start, gives a notice.
    void systemInformation() {
        QTemporaryDir bin;
        const QString tool = bin.filePath(QStringLiteral("hardinfo"));
        const QString marker = bin.filePath(QStringLiteral("started"));
        QVERIFY(writeFile(tool, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n"));
        QVERIFY(QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner));
        StartSysInfo({bin.path()});
        QTRY_VERIFY(QFile::exists(marker));
        StartSysInfo({});
        QVERIFY(writeFile(tool, "#!/nonexistent/interpreter\n")); // found, but cannot start
        StartSysInfo({bin.path()});
        QCOMPARE(boxes::seam().messages,
                 QStringList(2, "Beitragsbox|0|System-Informationen sind augenblicklich nicht "
                                "verfügbar."));
    }
};

BEITRAGSBOX_TEST_MAIN(TestOptions)
#include "tst_options.moc"
