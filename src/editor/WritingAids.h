#pragma once
#include "editor/SpellingMarks.h"
#include "text/TagBalance.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class QMenu;
class QRect;
class QWidget;
class SpellingEngine;
class TagMarks;
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
    bool spellChecking() const { return m_spelling->on(); }
    // A language with no installed dictionary falls back to the first installed one.
    void setLanguage(const QString& language);
    QString language() const { return m_spelling->language(); }
    void setQuotesChecked(bool on);
    bool quotesChecked() const { return m_quotesChecked; }
    void setTagCheck(bool on);
    bool tagCheck() const { return m_tagsOn; }
    // The languages with a dictionary, the one to prefer first.
    const QStringList& installedLanguages() const { return m_spelling->installed(); }
    bool dictionaryInstalled() const { return !installedLanguages().isEmpty(); }

    SpellingEngine& checker() { return m_spelling->engine(); }
    // A word right for this run, or from now on (in the user's word list, written in the
    // background; a failure is reported in a message box).
    void ignoreWord(const QString& word);
    void addWord(const QString& word);

    using Span = SpellingMarks::Span;
    // The misspelt words among the lines in view (what is underlined now).
    QList<Span> misspeltInView() const { return m_spelling->inView(); }
    // The misspelt word underlined at a point of the viewport; start -1 for none.
    SpellingMarks::WordAt misspeltAt(const QPoint& viewportPos) const;
    // The tag marks as they stand, positions moved along with the edits since the last check;
    // the first tagbalance::kMaxMarks of a text.
    const QList<tagbalance::Mark>& tagMarks() const;
    // True while no tag check is waiting or running.
    bool tagsSettled() const;

    // The right-click menu: suggestions for a misspelt word on top, the switches at the end.
    // The menu is ready at once; the suggestions take the place of a note when they come.
    void extendMenu(QMenu* menu, const QPoint& viewportPos);
    QString toolTipAt(const QPoint& viewportPos) const;

private:
    void paint(QWidget* viewport, const QRect& rect) const;

    TextField* m_field;
    SpellingMarks* m_spelling;
    TagMarks* m_tags;
    bool m_quotesChecked = true;
    bool m_tagsOn = true;
};
