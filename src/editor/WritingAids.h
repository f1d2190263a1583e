#pragma once
#include "platform/files.h"
#include "text/TagBalance.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

#include <utility>

class QMenu;
class QWidget;
class QRect;
class QTextBlock;
class QTimer;
class SpellingEngine;
class TextField;

// Spell checking that knows the markup, and tags left open, closing nothing or crossing marked
// in place. Neither ever changes the text, the caret or the undo history: the marks are drawn
// over the edit field. Spelling is looked up for the painted lines only; the tag balance runs
// over the whole text on a worker thread once the user pauses, and its marks move with the
// edits in between.
class WritingAids : public QObject {
    Q_OBJECT
public:
    // Takes the engine over.
    WritingAids(TextField* field, SpellingEngine* engine);
    ~WritingAids() override;

    // The switches of the right-click menu, kept in the settings file.
    void setSpellChecking(bool on);
    bool spellChecking() const { return m_spellOn; }
    // A language with no installed dictionary falls back to the first installed one.
    void setLanguage(const QString& language);
    QString language() const { return m_language; }
    void setQuotesChecked(bool on);
    bool quotesChecked() const { return m_quotesChecked; }
    void setTagCheck(bool on);
    bool tagCheck() const { return m_tagsOn; }
    bool dictionaryInstalled() const { return !m_installed.isEmpty(); }

    SpellingEngine& checker() { return *m_checker; }
    // A word right for this run, or from now on (in the user's word list, written in the
    // background; a failure is reported in a message box).
    void ignoreWord(const QString& word);
    void addWord(const QString& word);

    struct Span {
        qsizetype start = 0; // document position
        qsizetype length = 0;
        friend bool operator==(const Span&, const Span&) = default;
    };
    // The misspelt words among the lines in view (what is underlined now).
    QList<Span> misspeltInView() const;
    // The tag marks as they stand, positions moved along with the edits since the last check;
    // the first tagbalance::kMaxMarks of a text.
    const QList<tagbalance::Mark>& tagMarks() const { return m_marks; }
    // True while no tag check is waiting or running.
    bool tagsSettled() const;

    // The right-click menu: suggestions for a misspelt word on top, the switches at the end.
    // The menu is ready at once; the suggestions take the place of a note when they come.
    void extendMenu(QMenu* menu, const QPoint& viewportPos);
    QString toolTipAt(const QPoint& viewportPos) const;

private:
    struct WordAt {
        qsizetype start = -1;
        QString word;
    };
    WordAt misspeltAt(const QPoint& viewportPos) const;
    // Calls visit(start, length) for each misspelt word of the block that touches the block's
    // text range [from, to].
    template <typename Visit>
    void forEachMisspelt(const QTextBlock& block, qsizetype from, qsizetype to,
                         Visit&& visit) const;
    // Calls visit(block, topLeft, lines) for each laid-out block with lines between two heights
    // of the viewport; `lines` is the text range of those lines.
    template <typename Visit> void forEachBlockIn(int top, int bottom, Visit&& visit) const;
    // The text range of the lines in view; empty when none is.
    std::pair<qsizetype, qsizetype> rangeInView() const;
    // The first tag mark that ends at or after `position` (marks never overlap).
    QList<tagbalance::Mark>::const_iterator firstMarkReaching(qsizetype position) const;
    bool inQuote(qsizetype position) const;
    void paint(QWidget* viewport, const QRect& rect) const;
    void repaintAnswered();
    void contentsChange(int position, int removed, int added);
    struct Edit {
        qsizetype position = 0;
        qsizetype removed = 0;
        qsizetype added = 0;
    };
    static void moveAlong(QList<tagbalance::Mark>& marks, QList<tagbalance::Range>& quotes,
                          const Edit& edit);
    bool tagCheckWanted() const { return m_tagsOn || !m_quotesChecked; }
    void followText(const Edit& edit);
    QString textAt(qsizetype position, qsizetype length) const;
    void startTagCheck();
    void tagCheckDone();
    void loadDictionary();
    void answersChanged();
    void replaceWord(qsizetype start, const QString& word, const QString& replacement);

    TextField* m_field;
    SpellingEngine* m_checker;
    QList<QString> m_installed; // languages with a dictionary
    bool m_spellOn = false;     // on when the settings say so
    bool m_quotesChecked = true;
    bool m_tagsOn = true;
    QString m_language;
    QString m_requested; // the language last given to the checker
    QList<tagbalance::Mark> m_marks;
    bool m_moreMarks = false; // the text has more tags out of balance than m_marks
    QList<tagbalance::Range> m_quotes;
    QTimer* m_pause;
    QFutureWatcher<tagbalance::Result> m_running;
    // Counts the changes of the checker's answers and of the quotes left out: the misspelt
    // words kept with a block are good for one generation.
    quint64 m_generation = 0; // answers to waiting words
    quint64 m_epoch = 0;      // answers that may turn a wrong word right, or quotes left out
    mutable bool m_sawPending = false;
    // The text as the tag check reads it, kept in step with the edits while it is `followed`:
    // a check starts with a copy of it, not with a copy of the whole text.
    tagbalance::PiecedText m_text;
    bool m_textFollowed = false;
    bool m_checkPending = false;
    QList<Edit> m_editsSince; // since the running check started
};
