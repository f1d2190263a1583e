#pragma once
#include "spelling/SpellingEngine.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

// Spell checking with the installed Hunspell dictionaries through Nuspell.
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

// The dictionary is loaded, words are checked and suggestions found by a task in a thread pool,
// one at a time; the user-interface thread only asks the cache and never waits.
class NuspellEngine : public SpellingEngine {
    Q_OBJECT
public:
    explicit NuspellEngine(QObject* parent = nullptr);
    ~NuspellEngine() override;

    QStringList languages() const override;
    // A dictionary that fails to load gives way to the next one found for the language; an
    // empty or unknown language, or one whose dictionaries all fail, fails (ready(false)).
    void load(const QString& language) override;
    bool isReady() const override;
    QString language() const;
    // The .dic file of the dictionary in use.
    QString dictionaryFile() const override;
    State state(const QString& word) override;
    // The engine cannot be stopped: a search that ran out of time ends in the background.
    quint64 requestSuggestions(const QString& word, int max, int limitMs) override;
    // Appended to the list in the background; a failed write leaves the file as it was.
    void addToPersonalList(const QString& word) override;
    void ignore(const QString& word) override;

private:
    void answerSuggestions(quint64 request, const QStringList& suggestions);

    struct Worker;
    std::shared_ptr<Worker> m_worker;
    quint64 m_requests = 0;
    QSet<quint64> m_unanswered;
};
