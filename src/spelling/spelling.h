#pragma once
#include "platform/files.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

// Spell checking with the installed Hunspell dictionaries through Nuspell. The dictionary is
// loaded, words are checked and suggestions found on a worker thread; the user-interface thread
// only asks the cache and never waits.
namespace spelling {

struct Dictionary {
    QString language; // "de_DE"
    QString affPath;  // "/usr/share/hunspell/de_DE.aff"
};

// The installed dictionaries: the German ones first (de_DE, de_AT, de_CH, then the other de_*),
// then the rest by name. One entry per language, the first one found.
QList<Dictionary> installedDictionaries();

// Every dictionary found for `language`, first the one that takes precedence: the next ones
// stand in for a broken one.
QStringList affPathsOf(const QString& language);

// ~/.config/Beitragsbox/woerterbuch.txt: the user's own words, UTF-8, one word a line.
QString personalListPath();

} // namespace spelling

class SpellChecker : public QObject {
    Q_OBJECT
public:
    enum class State { Pending, Right, Wrong };

    explicit SpellChecker(QObject* parent = nullptr);
    ~SpellChecker() override;

    // Loads the dictionary of `language` in the background, with the user's own word list;
    // ready() tells when it is done. Until then every word is Pending. A dictionary that fails
    // to load gives way to the next one found for the language; an empty or unknown language,
    // or one whose dictionaries all fail, fails (ready(false)).
    void load(const QString& language);
    bool isReady() const;
    QString language() const;
    // The .dic file of the dictionary in use; empty while none is ready.
    QString dictionaryFile() const;

    // Never blocks: a word not yet known is queued for the worker and is Pending until checked()
    // is emitted. Always Pending while no dictionary is ready.
    State state(const QString& word);

    // Asks the worker for up to `max` suggestions, best first, and returns the request's number
    // at once. suggestionsFound() follows for it: with none when there are none, when no
    // dictionary is ready or when the engine has not found them within `limitMs`. The engine
    // cannot be stopped: a search that ran out of time ends in the background and what it finds
    // follows as a second answer; a newer request replaces one still waiting for the worker.
    quint64 requestSuggestions(const QString& word, int max, int limitMs);

    // Right from now on, and appended to the user's own list in the background;
    // personalListWritten() tells how that went. A failed write leaves the list file as it was;
    // the word is still right for this run.
    void addToPersonalList(const QString& word);
    // Right for this run only.
    void ignore(const QString& word);

signals:
    void ready(bool ok);
    // Words that were Pending are now Right or Wrong.
    void checked();
    void suggestionsFound(quint64 request, const QStringList& suggestions);
    // The reason, if any, names the list file.
    void personalListWritten(const QString& word, const files::WriteResult& result);

private:
    void answerSuggestions(quint64 request, const QStringList& suggestions);

    struct Worker;
    std::shared_ptr<Worker> m_worker;
    quint64 m_requests = 0;
    QSet<quint64> m_unanswered;
};
