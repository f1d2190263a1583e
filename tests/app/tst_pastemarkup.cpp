// Ctrl+Shift+V: the clipboard's HTML as markup in place of the selection, as one undo step.
#include "app/Form1.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

#include "support.h"

namespace {

void putOnClipboard(const QString& html, const QString& text, const QByteArray& sourceType = {},
                    const QByteArray& source = {}) {
    auto* data = new QMimeData;
    if (!html.isEmpty())
        data->setHtml(html);
    data->setText(text);
    if (!sourceType.isEmpty())
        data->setData(QString::fromLatin1(sourceType), source);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace

class TestPasteMarkup : public QObject {
    Q_OBJECT
private slots:
    void pastes_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QByteArray>("sourceType");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<bool>("colors");
        QTest::addColumn<QString>("expected");
        QTest::newRow("HTML as markup")
            << "<p><b>fett</b> und <i>schräg</i></p>" << QByteArray() << QByteArray() << false
            << "a[B]fett[/B] und [I]schräg[/I]b";
        QTest::newRow("no HTML: the plain text")
            << QString() << QByteArray() << QByteArray() << false << "aNur Text|zweib";
        QTest::newRow("colours only when asked for")
            << "<span style=\"color:#ff0000\">rot</span>" << QByteArray() << QByteArray() << false
            << "arotb";
        QTest::newRow("colours asked for")
            << "<span style=\"color:#ff0000\">rot</span>" << QByteArray() << QByteArray() << true
            << "a[COLOR=#ff0000]rot[/COLOR]b";
        // Firefox gives the page's address, so that a relative link can be resolved.
        QTest::newRow("relative link and the page's address")
            << "<a href=\"/forum/\">Forum</a>" << QByteArray("text/x-moz-url-priv")
            << QByteArray("https://example.org/seite.html\nTitel") << false
            << "a[URL=https://example.org/forum/]Forum[/URL]b";
    }
    void pastes() {
        QFETCH(QString, html);
        QFETCH(QByteArray, sourceType);
        QFETCH(QByteArray, source);
        QFETCH(bool, colors);
        QFETCH(QString, expected);
        Form1* form = Form1::Load();
        form->setPasteColors(colors);
        form->buffer().setText(QStringLiteral("aXb"));
        form->buffer().setSelStart(1);
        form->buffer().setSelLength(1);
        putOnClipboard(html, QStringLiteral("Nur Text\nzwei"), sourceType, source);
        form->pasteAsMarkup();
        QCOMPARE(form->buffer().Text(), crlf(expected));
        QCOMPARE(form->buffer().SelStart(), form->buffer().TextLength() - 1);
        form->Text1->undo();
        QCOMPARE(form->buffer().Text(), QStringLiteral("aXb"));
        form->Unload(1);
    }

    // Ctrl+V stays the plain paste; the menu offers the markup paste and its switch.
    void plainPasteAndMenu() {
        Form1* form = Form1::Load();
        putOnClipboard(QStringLiteral("<b>fett</b>"), QStringLiteral("fett"));
        QTest::keyClick(form->Text1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form->buffer().Text(), QStringLiteral("fett"));
        QMenu menu;
        emit form->Text1->contextMenuAboutToShow(&menu);
        QStringList items;
        for (const QAction* item : menu.actions())
            items << item->text();
        QVERIFY(items.contains(QStringLiteral("Als BBCo&de einfügen")));
        QVERIFY(items.contains(QStringLiteral("Farben und &Größen übernehmen")));
        form->Unload(1);
    }
};

BEITRAGSBOX_TEST_MAIN(TestPasteMarkup)
#include "tst_pastemarkup.moc"
