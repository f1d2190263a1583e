// The preview window: what it shows, that it follows the text, which links it opens, and the
// post as HTML on the clipboard.
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/PreviewWindow.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "platform/clsINIClass.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QMimeData>
#include <QTextBrowser>
#include <QTextList>
#include <QtTest>

#include "support.h"

// Records what the preview asks the desktop to open, instead of opening it.
class OpenedLinks : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class TestPreview : public QObject {
    Q_OBJECT

    static QTextDocument* shown(Form1* form) {
        form->preview()->waitUntilShown();
        return form->preview()->view()->document();
    }

private slots:
    void showsAndFollowsThePost() {
        Form1* form = Form1::Load();
        form->buffer().setText(QStringLiteral("[B]fett[/B]\r\n[QUOTE=Anna]Hallo[/QUOTE]\r\n"
                                              "[LIST][*]eins[*]zwei[/LIST]"));
        form->togglePreview();
        QVERIFY(form->preview()->isVisible());
        QCOMPARE(form->preview()->windowTitle(), QStringLiteral("Vorschau – Beitragsbox"));
        QTextDocument* document = shown(form);
        QVERIFY(document->find(QStringLiteral("fett")).charFormat().fontWeight() >= QFont::Bold);
        QVERIFY(!document->find(QStringLiteral("Anna hat geschrieben:")).isNull());
        QVERIFY(document->find(QStringLiteral("[B]")).isNull());
        const QTextCursor item = document->find(QStringLiteral("zwei"));
        QVERIFY(item.currentList() && item.currentList()->count() == 2);

        form->buffer().setText(QStringLiteral("[I]neu[/I]"));
        QTRY_VERIFY(!form->preview()->view()->document()->find(QStringLiteral("neu")).isNull());
        QVERIFY(form->preview()->view()->document()->find(QStringLiteral("fett")).isNull());

        // F5 closes it again (the main window's F5: the e2e test); the end keeps it closed.
        QTest::keyClick(form->preview(), Qt::Key_F5);
        QVERIFY(!form->preview()->isVisible());
        form->Unload(1);
        QVERIFY(readFile(clsINIClass().strDefaultFileName()).contains("\r\nPreview=0\r\n"));
    }

    // Of a long post, the part around the caret is shown, and a note says so.
    void longPostAroundCaret() {
        Form1* form = Form1::Load();
        const QString lines = QStringLiteral("Eine Zeile eines langen Beitrags\r\n").repeated(4000);
        const QString text = "[B]Anfang[/B]\r\n" + lines + "[I]Mitte[/I]\r\n" + lines;
        form->buffer().setText(text);
        form->buffer().setSelStart(int(text.indexOf(QStringLiteral("Mitte"))));
        form->togglePreview();
        QTextDocument* document = shown(form);
        QVERIFY(document->find(QStringLiteral("Mitte")).charFormat().fontItalic());
        QVERIFY(document->find(QStringLiteral("Anfang")).isNull());
        QVERIFY(
            !document->find(QStringLiteral("gezeigt wird der Teil um die Schreibmarke")).isNull());
        form->Unload(1);
    }

    // Links open in the desktop's programs, but only web and mail addresses.
    void opensOnlySafeLinks() {
        OpenedLinks opened;
        for (const char* scheme : {"http", "https", "ftp", "mailto", "javascript", "file", "data"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &opened, "open");
        Form1* form = Form1::Load();
        form->togglePreview();
        shown(form);
        QTextBrowser* view = form->preview()->view();
        for (const char* link : {"javascript:alert(1)", "JavaScript:alert(1)", "file:///etc/passwd",
                                 "data:text/html,x", "https://example.org/", "mailto:a@b.de"})
            emit view->anchorClicked(QUrl(QString::fromLatin1(link)));
        QCOMPARE(opened.urls, (QList<QUrl>{QUrl("https://example.org/"), QUrl("mailto:a@b.de")}));
        form->Unload(1);
    }

    // The post as the forum's HTML, as text/html and as plain text; the preview stays open at
    // the end and comes back where it was at the next start.
    void htmlCopyAndPlaceKept() {
        Form1* form = Form1::Load();
        form->buffer().setText(QStringLiteral("[B]<fett>[/B]"));
        form->copyAsHtml();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->html(),
                 QStringLiteral("<strong class=\"text-strong\">&lt;fett&gt;</strong>"));
        QCOMPARE(data->text(), data->html());
        form->togglePreview();
        form->preview()->setGeometry(40, 50, 300, 200);
        EndProgram();
        QTRY_VERIFY(!Form1::instance());
        Main();
        form = Form1::instance();
        QVERIFY(form->preview() && form->preview()->isVisible());
        QCOMPARE(form->preview()->geometry(), QRect(40, 50, 300, 200));
        EndProgram();
    }
};

BEITRAGSBOX_TEST_MAIN(TestPreview)
#include "tst_preview.moc"
