// The writing aids on the real edit field with a stand-in spelling engine: what is underlined,
// the right-click menu, and that checking never touches the text or its undo history.
#include "editor/TextField.h"
#include "editor/WritingAids.h"
#include "spelling/SpellingEngine.h"

#include <QMenu>
#include <QPaintEvent>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include <memory>

using Span = WritingAids::Span;

namespace {

// Words holding "fehlr" are wrong ("Fehlr" suggests "Fehler"), and so is "Gnarzt"; the rest
// are right. The dictionary and the first answer for a word come through the event loop.
struct FakeEngine : SpellingEngine {
    bool loaded = false;
    QSet<QString> known, waiting, right;
    quint64 requests = 0;
    void later(const std::function<void()>& answer) { QTimer::singleShot(0, this, answer); }
    QStringList languages() const override { return {"de_DE", "de_AT"}; }
    void load(const QString&) override {
        later([this] { emit ready(loaded = true); });
    }
    bool isReady() const override { return loaded; }
    QString dictionaryFile() const override { return "/fake/de_DE.dic"; }
    State state(const QString& word) override {
        if (loaded && !known.contains(word)) {
            if (waiting.isEmpty())
                later([this] { waiting.clear(), emit checked(); });
            known << word, waiting << word;
        }
        if (!loaded || waiting.contains(word))
            return State::Pending;
        const bool wrong = word.contains("fehlr", Qt::CaseInsensitive) || word == "Gnarzt";
        return wrong && !right.contains(word) ? State::Wrong : State::Right;
    }
    quint64 requestSuggestions(const QString& word, int, int) override {
        const QStringList found = word == "Fehlr" ? QStringList{"Fehler"} : QStringList();
        later([this, found, number = ++requests] { emit suggestionsFound(number, found); });
        return requests;
    }
    void addToPersonalList(const QString& word) override { ignore(word); }
    void ignore(const QString& word) override { right << word, emit checked(); }
};

const QString kPost =
    QStringLiteral("Das ist ein Fehlr [B]Fehlr[/B] [URL=http://fehlr.de]Seite[/URL] :fehlr:");

// Pixels of the edit field in a mark's colour (the text is black on white): red for spelling,
// orange for tags; antialiased lines come out lighter.
enum class Hue { Red, Orange };
int pixelsOf(TextField& field, Hue hue) {
    const QImage image = field.viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int green = c.green() - c.blue();
            if (c.red() - c.blue() > 80 && (hue == Hue::Red ? green < 30 : green > 50))
                ++count;
        }
    return count;
}

// The rectangles of the viewport's paints.
struct PaintedRects : QObject {
    QList<QRect> rects;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            rects << static_cast<QPaintEvent*>(event)->rect();
        return false;
    }
};

} // namespace

class TestWritingAids : public QObject {
    Q_OBJECT

    std::unique_ptr<TextField> m_field;
    WritingAids* m_aids = nullptr;

    void setText(const QString& text) {
        m_field->setPlainText(text);
        QTRY_VERIFY(m_aids->tagsSettled() && m_aids->checker().isReady());
    }
    QPoint pointOf(int position) const {
        QTextCursor cursor(m_field->document());
        cursor.setPosition(position);
        return m_field->cursorRect(cursor).center();
    }
    // As a screen reader says them: without the mnemonics' ampersands.
    static QStringList textsOf(const QMenu& menu) {
        QStringList texts;
        for (QAction* action : menu.actions())
            texts << QString(action->text()).remove(u'&');
        return texts;
    }

private slots:
    void init() {
        m_field = std::make_unique<TextField>();
        m_field->resize(640, 300);
        m_field->show();
        m_aids = new WritingAids(m_field.get(), new FakeEngine);
        m_aids->setSpellChecking(true);
        m_aids->setTagCheck(true);
        // The dictionary comes with the first text, not before.
        QTest::qWait(50);
        QVERIFY(!m_aids->checker().isReady());
    }

    void cleanup() { m_field.reset(); }

    // Only the two words "Fehlr" of the text: not the tags, the URL, its parameter or the
    // smiley. Off means no underline at all, on screen too.
    void underlinesExactlyTheMisspeltWords() {
        setText(kPost);
        const QList<Span> expected{{12, 5}, {21, 5}};
        QTRY_COMPARE(m_aids->misspeltInView(), expected);
        QVERIFY(pixelsOf(*m_field, Hue::Red) > 10);
        m_aids->setSpellChecking(false);
        QCOMPARE(m_aids->misspeltInView(), QList<Span>());
        QCOMPARE(pixelsOf(*m_field, Hue::Red), 0);
    }

    // Text in quotes is checked like the rest unless the switch leaves quotes out.
    void quotesCanBeLeftOut() {
        setText(QStringLiteral("[QUOTE=Max]Fehlr\nnoch ein Fehlr[/QUOTE]\nmein Fehlr"));
        const QList<Span> all{{11, 5}, {26, 5}, {45, 5}};
        QTRY_COMPARE(m_aids->misspeltInView(), all);
        m_aids->setQuotesChecked(false);
        QTRY_VERIFY(m_aids->tagsSettled());
        QCOMPARE(m_aids->misspeltInView(), (QList<Span>{Span{45, 5}}));
    }

    // A suggestion replaces the word as one undo step; checking itself leaves the text, the
    // caret and the undo history alone.
    void suggestionIsOneUndoStep() {
        setText(kPost);
        QTRY_COMPARE(m_aids->misspeltInView().size(), 2);
        QTextDocument* document = m_field->document();
        QVERIFY(!document->isUndoAvailable());
        QVERIFY(!document->isModified());
        QCOMPARE(m_field->textCursor().position(), 0);

        std::unique_ptr<QMenu> menu(m_field->createStandardContextMenu());
        m_aids->extendMenu(menu.get(), pointOf(24));
        menu->popup(m_field->mapToGlobal(pointOf(24)));
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Vorschläge werden gesucht …"));
        QTRY_COMPARE(textsOf(*menu).value(0), QStringLiteral("Fehler"));
        const QStringList texts = textsOf(*menu);
        QVERIFY(!texts.contains(QStringLiteral("Vorschläge werden gesucht …")));
        for (const char* item : {"Zum Wörterbuch hinzufügen", "Ignorieren", "Rechtschreibprüfung",
                                 "Sprache", "Zitate prüfen", "Tags prüfen"})
            QVERIFY2(texts.contains(QString::fromUtf8(item)), item);
        QTest::keyClick(menu.get(), Qt::Key_Down);
        QCOMPARE(menu->activeAction(), menu->actions().at(0));
        // The dictionary in use, named in the language menu.
        const QMenu* languages = menu->actions().at(int(texts.indexOf("Sprache")))->menu();
        QCOMPARE(textsOf(*languages).constLast(), QStringLiteral("Wörterbuch: /fake/de_DE.dic"));
        menu->close();

        menu->actions().at(0)->trigger();
        QCOMPARE(m_field->toPlainText(), QString(kPost).replace(21, 5, QStringLiteral("Fehler")));
        m_field->undo();
        QCOMPARE(m_field->toPlainText(), kPost);
        QVERIFY(!document->isUndoAvailable());
        QTRY_COMPARE(m_aids->misspeltInView(), (QList<Span>{{12, 5}, {21, 5}}));
    }

    // "Ignorieren" and the personal list make the word right at once.
    void ignoreAndPersonalList() {
        setText(QStringLiteral("Ein Fehlr und ein Schreibfehlr"));
        QTRY_COMPARE(m_aids->misspeltInView().size(), 2);
        m_aids->ignoreWord(QStringLiteral("Fehlr"));
        QCOMPARE(m_aids->misspeltInView(), (QList<Span>{Span{18, 12}}));
        m_aids->addWord(QStringLiteral("Schreibfehlr"));
        QCOMPARE(m_aids->misspeltInView(), QList<Span>());
    }

    // Tags out of balance are dotted, with a German tool tip; the marks move with an edit
    // before the next check, and are gone when the switch is off.
    void tagMarks() {
        setText(QStringLiteral("[B]fett [I]kursiv[/B][/I] und [U]offen"));
        QCOMPARE(m_aids->tagMarks().size(), 2);
        QCOMPARE(m_aids->tagMarks().at(0).start, 17);
        QCOMPARE(m_aids->toolTipAt(pointOf(31)), QStringLiteral("[U] wird nicht geschlossen"));
        QCOMPARE(m_aids->toolTipAt(pointOf(19)),
                 QStringLiteral("[/B] schließt [B], aber [I] ist noch offen"));
        QCOMPARE(m_aids->toolTipAt(pointOf(5)), QString());
        QVERIFY(pixelsOf(*m_field, Hue::Orange) > 5);

        QTextCursor cursor(m_field->document());
        cursor.insertText(QStringLiteral("Hallo "));
        QCOMPARE(m_aids->tagMarks().at(0).start, 23);
        QCOMPARE(m_aids->toolTipAt(pointOf(37)), QStringLiteral("[U] wird nicht geschlossen"));
        QTRY_VERIFY(m_aids->tagsSettled());
        QCOMPARE(m_aids->tagMarks().at(0).start, 23);

        m_aids->setTagCheck(false);
        QCOMPARE(pixelsOf(*m_field, Hue::Orange), 0);
        QCOMPARE(m_aids->toolTipAt(pointOf(37)), QString());
    }

    // The answers for the words of a newly painted page repaint the line whose underline they
    // change, not the whole view again.
    void answersRepaintTheirLine() {
        setText(QStringLiteral("Hallo"));
        PaintedRects painted;
        m_field->viewport()->installEventFilter(&painted);
        m_field->setPlainText(QStringLiteral("Das ist gut.\n").repeated(6) +
                              QStringLiteral("Hier ein Gnarzt.\nUnd noch eine Zeile.\n"));
        const QRect word = m_field->cursorRect(m_field->document()->find(QStringLiteral("Gnarzt")));
        const auto lineRepainted = [&] {
            return std::any_of(painted.rects.cbegin() + 1, painted.rects.cend(),
                               [&](const QRect& rect) { return rect.intersects(word); });
        };
        QTRY_VERIFY(painted.rects.size() > 1 && lineRepainted());
        QTRY_VERIFY(m_aids->tagsSettled());
        QCOMPARE(painted.rects.first(), m_field->viewport()->rect()); // the new text
        for (const QRect& rect : painted.rects.sliced(1))
            QVERIFY2(rect.height() < m_field->viewport()->height() / 2,
                     qPrintable(QStringLiteral("%1 px high").arg(rect.height())));
    }

    // A text full of open tags gets marks for the first ones; the last says that more follow.
    void manyTagMarks() {
        setText(QStringLiteral("[B]").repeated(tagbalance::kMaxMarks + 1));
        QCOMPARE(m_aids->tagMarks().size(), tagbalance::kMaxMarks);
        const int last = int(m_aids->tagMarks().last().start);
        QCOMPARE(last, 3 * (tagbalance::kMaxMarks - 1));
        m_field->moveCursor(QTextCursor::End);
        QCOMPARE(
            m_aids->toolTipAt(pointOf(last + 1)),
            QStringLiteral("[B] wird nicht geschlossen\n… und weitere Tags außer Gleichgewicht"));
        QCOMPARE(m_aids->toolTipAt(pointOf(last - 2)),
                 QStringLiteral("[B] wird nicht geschlossen"));
    }

    // A check that finishes after the user typed on still counts, its marks moved along with
    // the edits. The pause is held, so no later check can set the marks instead.
    void checkOvertakenByTyping() {
        setText(QStringLiteral("abc"));
        auto* pause = m_aids->findChild<QTimer*>();
        QVERIFY(pause);
        QTextCursor cursor(m_field->document());
        connect(
            pause, &QTimer::timeout, this,
            [&] {
                pause->blockSignals(true);
                cursor.setPosition(0);
                cursor.insertText(QStringLiteral("Hallo "));
            },
            Qt::SingleShotConnection);
        cursor.insertText(QStringLiteral("[B]"));
        QTRY_COMPARE(m_aids->tagMarks().size(), 1);
        QCOMPARE(m_aids->tagMarks().at(0).start, 6);
        pause->blockSignals(false);
    }

    // Edits that touch a part of a long text ("position,removed,text"; each followed by the
    // pause or not) leave the same marks as a check of the whole text.
    void partialEditsMarkAsAWholeCheck_data() {
        QTest::addColumn<QStringList>("edits");
        QTest::newRow("typed") << QStringList{"40000,0,[/I]", "20000,0,[QUOTE]", "5,0,[/B]"};
        QTest::newRow("lines joined and broken") << QStringList{"16,1,", "30001,0,\n", "2,0,\n"};
        QTest::newRow("cut and pasted")
            << QStringList{"100,40000,", "0,0,[LIST]x\n[B][*]\n", "500,0,[/B][/LIST]"};
    }
    void partialEditsMarkAsAWholeCheck() {
        QFETCH(QStringList, edits);
        setText(QStringLiteral("[B]fett[/B] [I]x\n").repeated(4000));
        for (qsizetype i = 0; i < edits.size(); ++i) {
            QTextCursor cursor(m_field->document());
            cursor.setPosition(edits[i].section(u',', 0, 0).toInt());
            cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor,
                                edits[i].section(u',', 1, 1).toInt());
            cursor.insertText(edits[i].section(u',', 2));
            if (i % 2 == 0)
                QTRY_VERIFY(m_aids->tagsSettled());
        }
        QTRY_VERIFY(m_aids->tagsSettled());
        const tagbalance::Result whole = tagbalance::check(m_field->document()->toRawText());
        QCOMPARE(m_aids->tagMarks(), whole.marks);
    }
};

QTEST_MAIN(TestWritingAids)
#include "tst_writingaids.moc"
