#pragma once
#include "platform/files.h"

#include <QObject>
#include <QString>
#include <QStringList>

// What the editor asks of a spell checker. No call waits for the engine: what it does not know
// at once follows through the signals.
class SpellingEngine : public QObject {
    Q_OBJECT
public:
    enum class State { Pending, Right, Wrong };

    using QObject::QObject;

    // The languages with a dictionary, the one to prefer first.
    virtual QStringList languages() const = 0;

    // Loads the dictionary of `language` in the background, with the user's own words; ready()
    // tells when it is done, and a newer load replaces one under way. Until then every word is
    // Pending.
    virtual void load(const QString& language) = 0;
    virtual bool isReady() const = 0;
    // The file of the dictionary in use; empty while none is ready.
    virtual QString dictionaryFile() const = 0;

    // A word not yet known is Pending until checked() is emitted; every word is Pending while no
    // dictionary is ready.
    virtual State state(const QString& word) = 0;

    // Asks for up to `max` suggestions, best first, and returns the request's number at once.
    // suggestionsFound() follows for it: with none when there are none, when no dictionary is
    // ready or when none were found within `limitMs`; what a search finds after that follows as
    // a second answer. A newer request replaces one still waiting.
    virtual quint64 requestSuggestions(const QString& word, int max, int limitMs) = 0;

    // Right from now on, and kept in the user's own word list; personalListWritten() tells how
    // writing it went. A word that could not be written stays right for this run.
    virtual void addToPersonalList(const QString& word) = 0;
    // Right for this run only.
    virtual void ignore(const QString& word) = 0;

signals:
    void ready(bool ok);
    // Words that were Pending are now Right or Wrong.
    void checked();
    void suggestionsFound(quint64 request, const QStringList& suggestions);
    // The reason, if any, names the list file.
    void personalListWritten(const QString& word, const files::WriteResult& result);
};
