#pragma once
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class QTextBlock;
class SpellingEngine;
class TagMarks;
class TextField;

// The misspelt words of the edit field's lines in view, as the spelling engine answers for them
// in the background. The words of a short paragraph are kept with it until its text or the
// answers change, so that a repaint costs no scanning.
class SpellingMarks : public QObject {
    Q_OBJECT
public:
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
        friend bool operator==(const Span&, const Span&) = default;
    };
    struct WordAt {
        qsizetype start = -1; // document position; -1 for none
        QString word;
    };

    // The engine stays the caller's.
    SpellingMarks(TextField* field, SpellingEngine* engine, QObject* parent = nullptr);

    SpellingEngine& engine() const { return *m_engine; }
    // The languages with a dictionary, the one to prefer first.
    const QStringList& installed() const { return m_installed; }
    void setOn(bool on);
    bool on() const { return m_on; }
    // A language with no installed dictionary falls back to the first installed one.
    void setLanguage(const QString& language);
    QString language() const { return m_language; }
    // Leaves out the words in the quotes the tag check finds; nullptr checks them all.
    void setQuotesLeftOut(const TagMarks* tags);
    // The answers changed in a way that may turn a wrong word right: nothing kept holds.
    void answersChanged();
    // On, with a dictionary ready.
    bool shown() const;

    // The misspelt words of a block (block-relative) that touch its text range [from, to]; a
    // short block gives all of its own.
    QList<Span> misspelt(const QTextBlock& block, qsizetype from, qsizetype to) const;
    // Those among the lines in view, at their document positions.
    QList<Span> inView() const;
    WordAt at(const QPoint& viewportPos) const;

private:
    void loadDictionary();
    void repaintAnswered();

    TextField* m_field;
    SpellingEngine* m_engine;
    QStringList m_installed;
    bool m_on = false; // on when the settings say so
    QString m_language;
    QString m_requested; // the language last given to the engine
    const TagMarks* m_quotesLeftOut = nullptr;
    // Count the changes of the engine's answers and of the words left out: the misspelt words
    // kept with a block are good for one generation.
    quint64 m_generation = 0; // answers to waiting words
    quint64 m_epoch = 0;      // answers that may turn a wrong word right, or quotes left out
    mutable bool m_sawPending = false;
};
