#include "spelling/NuspellEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <nuspell/dictionary.hxx>
#include <nuspell/finder.hxx>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <mutex>
#include <optional>
#include <vector>

namespace spelling {

namespace {

int rankOf(const QString& language) {
    static const QStringList first{QStringLiteral("de_DE"), QStringLiteral("de_AT"),
                                   QStringLiteral("de_CH")};
    const qsizetype at = first.indexOf(language);
    if (at >= 0)
        return int(at);
    return language.startsWith(QLatin1String("de_")) ? 3 : 4;
}

// The words of a list file, one a line; a missing or unreadable file gives an empty list.
QSet<QString> wordsOf(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QSet<QString> words;
    for (const QString& line : QString::fromUtf8(bytes).split(u'\n')) {
        const QString word = line.trimmed();
        if (!word.isEmpty())
            words.insert(word);
    }
    return words;
}

// Every dictionary with both files, in the order of precedence of the folders searched.
QList<Dictionary> allFound() {
    QList<Dictionary> found;
    for (std::filesystem::path aff : nuspell::search_default_dirs_for_dicts()) {
        const QString affPath = QFile::decodeName(QByteArray::fromStdString(aff.native()));
        std::error_code unreadable;
        if (std::filesystem::is_regular_file(aff.replace_extension(".dic"), unreadable))
            found.append(Dictionary{QFileInfo(affPath).completeBaseName(), affPath});
    }
    return found;
}

// The first line of a .dic counts its entries, and Nuspell makes room for that many before it
// reads the first one: a count of 2^31 in a small file would take gigabytes and minutes. An
// honest count never exceeds the file's bytes; a small file gets some slack for a rough one.
bool plausibleCount(const std::filesystem::path& dic) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(dic, error);
    if (error)
        return false;
    char head[64];
    std::ifstream file(dic, std::ios::binary);
    file.read(head, sizeof head);
    std::string_view line(head, size_t(file.gcount()));
    if (line.starts_with("\xEF\xBB\xBF"))
        line.remove_prefix(3);
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    std::uintmax_t count = 0;
    const auto parsed = std::from_chars(line.data(), line.data() + line.size(), count).ec;
    if (parsed == std::errc::invalid_argument)
        return true; // no count at all: the loader refuses the file itself
    return parsed == std::errc() && count <= std::max<std::uintmax_t>(size, 100'000);
}

} // namespace

QList<Dictionary> installedDictionaries() {
    QList<Dictionary> found;
    QSet<QString> seen;
    for (const Dictionary& dictionary : allFound()) {
        // The search goes through the folders in order of precedence: the first one wins.
        if (!seen.contains(dictionary.language)) {
            seen.insert(dictionary.language);
            found.append(dictionary);
        }
    }
    std::sort(found.begin(), found.end(), [](const Dictionary& a, const Dictionary& b) {
        const int rankA = rankOf(a.language);
        const int rankB = rankOf(b.language);
        return rankA != rankB ? rankA < rankB : a.language < b.language;
    });
    return found;
}

QStringList affPathsOf(const QString& language) {
    QStringList paths;
    for (const Dictionary& dictionary : allFound())
        if (dictionary.language == language && !paths.contains(dictionary.affPath))
            paths.append(dictionary.affPath);
    return paths;
}

QString personalListPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/woerterbuch.txt");
}

} // namespace spelling

namespace {

// The engines' work, one task at a time for each engine. Never destroyed: the end of the
// program does not wait for a search for suggestions, which nuspell cannot interrupt. Threads
// come with the first dictionary (a program that never checks needs none) and end when idle.
QThreadPool& workerPool() {
    static QThreadPool* const pool = [] {
        auto* made = new QThreadPool;
        // Room beside the searches that engines destroyed since have left running.
        made->setMaxThreadCount(std::max(8, QThread::idealThreadCount()));
        return made;
    }();
    return *pool;
}

} // namespace

// Everything the worker's task and the user-interface thread share. `mutex` guards all but the
// dictionary, which only the task touches: each engine runs one at a time.
struct NuspellEngine::Worker : std::enable_shared_from_this<Worker> {
    using Clock = std::chrono::steady_clock;

    NuspellEngine* owner = nullptr;

    std::mutex mutex;
    std::condition_variable idle; // `running` turned false
    bool stop = false;
    bool running = false; // the task is in the pool
    bool loadRequested = false;
    QString requestedLanguage;
    QString requestedListPath;
    // Counts load() calls, so that the results of a superseded load or batch are dropped.
    quint64 generation = 0;
    bool active = false; // a load is under way or done: words are worth queueing
    bool ready = false;
    QString language;
    QString dictionaryFile;
    QHash<QString, State> cache;
    std::deque<QString> queue;
    QSet<QString> personal;
    QSet<QString> unsaved; // in `personal`, but their line could not be written
    QSet<QString> ignored;

    struct SuggestionRequest {
        quint64 number = 0;
        QString word;
        int max = 0;
        Clock::time_point deadline;
    };
    // Only the newest request waits: the menu of an older one is gone or has given up.
    std::optional<SuggestionRequest> suggestionWanted;
    bool suggesting = false; // in the engine, which cannot be interrupted
    // Suggestions found with this dictionary, so that a search that ran out of time still
    // serves the next right-click on its word.
    QHash<QString, QStringList> suggested;

    std::unique_ptr<nuspell::Dictionary> dictionary;

    bool hasWork() const {
        return loadRequested || (ready && (suggestionWanted || !queue.empty()));
    }
    // With `mutex` held: starts the task unless it runs already or has nothing to do.
    void start() {
        if (running || stop || !hasWork())
            return;
        running = true;
        workerPool().start([self = shared_from_this()] { self->run(); });
    }
    void run();
    void loadDictionary(std::unique_lock<std::mutex>& lock);
    void suggest(std::unique_lock<std::mutex>& lock);
    void checkBatch(std::unique_lock<std::mutex>& lock);
    bool isRight(const QString& word, bool spelled) const {
        return spelled || personal.contains(word) || ignored.contains(word);
    }
};

// Works until nothing is left, then gives its thread back to the pool.
void NuspellEngine::Worker::run() {
    std::unique_lock lock(mutex);
    while (!stop && hasWork()) {
        if (loadRequested)
            loadDictionary(lock);
        else if (suggestionWanted) // the user is waiting for these
            suggest(lock);
        else
            checkBatch(lock);
    }
    running = false;
    idle.notify_all();
}

void NuspellEngine::Worker::loadDictionary(std::unique_lock<std::mutex>& lock) {
    loadRequested = false;
    const quint64 loading = generation;
    const QString wanted = requestedLanguage;
    const QString listPath = requestedListPath;
    lock.unlock();

    // Two dictionaries in memory at once would be wasted; the old one is no longer asked.
    dictionary.reset();
    QString loadedFile;
    for (const QString& affPath : spelling::affPathsOf(wanted)) {
        const std::filesystem::path aff(QFile::encodeName(affPath).toStdString());
        if (!spelling::plausibleCount(std::filesystem::path(aff).replace_extension(".dic")))
            continue;
        auto loaded = std::make_unique<nuspell::Dictionary>();
        try {
            loaded->load_aff_dic(aff);
        } catch (const std::exception&) {
            continue; // broken: the next one found for the language may do
        }
        dictionary = std::move(loaded);
        loadedFile = affPath.chopped(4) + QStringLiteral(".dic");
        break;
    }
    const bool ok = dictionary != nullptr;
    QSet<QString> words =
        ok ? spelling::wordsOf(files::readBytes(listPath).bytes) : QSet<QString>();

    lock.lock();
    if (loading != generation || stop)
        return; // a newer load() is waiting
    ready = ok;
    language = ok ? wanted : QString();
    dictionaryFile = loadedFile;
    personal.unite(words); // keeps words added while loading
    if (!ok) {
        active = false;
        cache.clear();
        queue.clear();
    }
    QMetaObject::invokeMethod(
        owner,
        [self = owner, loading, ok] {
            {
                std::lock_guard guard(self->m_worker->mutex);
                if (self->m_worker->generation != loading)
                    return;
            }
            emit self->ready(ok);
        },
        Qt::QueuedConnection);
}

void NuspellEngine::Worker::suggest(std::unique_lock<std::mutex>& lock) {
    const SuggestionRequest request = std::move(*suggestionWanted);
    suggestionWanted.reset();
    // The search that just ended may have found these while the request waited.
    QStringList found = suggested.value(request.word);
    if (!suggested.contains(request.word)) {
        if (Clock::now() >= request.deadline) {
            // Answered with none already; superseded before its search could start.
            QMetaObject::invokeMethod(
                owner,
                [self = owner, number = request.number] { self->answerSuggestions(number, {}); },
                Qt::QueuedConnection);
            return;
        }
        const quint64 searching = generation;
        suggesting = true;
        lock.unlock();
        std::vector<std::string> engineFound;
        dictionary->suggest(request.word.toStdString(), engineFound);
        for (const std::string& suggestion : engineFound) {
            const QString text = QString::fromStdString(suggestion);
            if (!found.contains(text))
                found.append(text);
        }
        lock.lock();
        suggesting = false;
        if (stop || searching != generation)
            return;
        if (suggested.size() >= 64)
            suggested.clear();
        suggested.insert(request.word, found);
    }
    QMetaObject::invokeMethod(
        owner,
        [self = owner, number = request.number, best = found.mid(0, request.max)] {
            self->answerSuggestions(number, best);
        },
        Qt::QueuedConnection);
}

void NuspellEngine::Worker::checkBatch(std::unique_lock<std::mutex>& lock) {
    // Small batches keep checked() coming while a long post is painted for the first time, and
    // let a request for suggestions wait for one batch at most.
    constexpr size_t kBatch = 256;
    std::vector<QString> words;
    while (!queue.empty() && words.size() < kBatch) {
        words.push_back(std::move(queue.front()));
        queue.pop_front();
    }
    const quint64 checking = generation;
    lock.unlock();

    std::vector<bool> spelled;
    spelled.reserve(words.size());
    for (const QString& word : words)
        spelled.push_back(dictionary && dictionary->spell(word.toStdString()));

    lock.lock();
    if (checking != generation)
        return;
    for (size_t i = 0; i < words.size(); ++i)
        cache.insert(words[i], isRight(words[i], spelled[i]) ? State::Right : State::Wrong);
    QMetaObject::invokeMethod(owner, &NuspellEngine::checked, Qt::QueuedConnection);
}

NuspellEngine::NuspellEngine(QObject* parent)
    : SpellingEngine(parent), m_worker(std::make_shared<Worker>()) {
    m_worker->owner = this;
}

NuspellEngine::~NuspellEngine() {
    std::unique_lock lock(m_worker->mutex);
    m_worker->stop = true;
    // A load under way runs to its end (tens of milliseconds); nuspell cannot be interrupted.
    // A search for suggestions may take seconds more: it ends alone, keeping its own share of
    // the worker, and then leaves this object alone.
    if (!m_worker->suggesting)
        m_worker->idle.wait(lock, [this] { return !m_worker->running; });
}

QStringList NuspellEngine::languages() const {
    QStringList languages;
    for (const spelling::Dictionary& dictionary : spelling::installedDictionaries())
        languages.append(dictionary.language);
    return languages;
}

void NuspellEngine::load(const QString& language) {
    std::lock_guard lock(m_worker->mutex);
    ++m_worker->generation;
    m_worker->loadRequested = true;
    m_worker->requestedLanguage = language;
    m_worker->requestedListPath = spelling::personalListPath();
    m_worker->active = true;
    m_worker->ready = false;
    m_worker->language.clear();
    m_worker->dictionaryFile.clear();
    m_worker->cache.clear();
    m_worker->queue.clear();
    m_worker->suggestionWanted.reset();
    m_worker->suggested.clear();
    m_worker->start();
}

bool NuspellEngine::isReady() const {
    std::lock_guard lock(m_worker->mutex);
    return m_worker->ready;
}

QString NuspellEngine::language() const {
    std::lock_guard lock(m_worker->mutex);
    return m_worker->language;
}

QString NuspellEngine::dictionaryFile() const {
    std::lock_guard lock(m_worker->mutex);
    return m_worker->dictionaryFile;
}

NuspellEngine::State NuspellEngine::state(const QString& word) {
    std::lock_guard lock(m_worker->mutex);
    if (!m_worker->active)
        return State::Pending;
    const auto known = m_worker->cache.constFind(word);
    if (known != m_worker->cache.constEnd())
        return known.value();
    m_worker->cache.insert(word, State::Pending);
    m_worker->queue.push_back(word);
    m_worker->start();
    return State::Pending;
}

quint64 NuspellEngine::requestSuggestions(const QString& word, int max, int limitMs) {
    const quint64 number = ++m_requests;
    m_unanswered.insert(number);
    bool searching = false;
    QStringList known;
    {
        std::lock_guard lock(m_worker->mutex);
        if (max > 0 && m_worker->ready) {
            const auto found = m_worker->suggested.constFind(word);
            if (found != m_worker->suggested.constEnd()) {
                known = found->mid(0, max);
            } else {
                if (m_worker->suggestionWanted) // replaced: its menu is gone
                    m_unanswered.remove(m_worker->suggestionWanted->number);
                m_worker->suggestionWanted = Worker::SuggestionRequest{
                    number, word, max, Worker::Clock::now() + std::chrono::milliseconds(limitMs)};
                m_worker->start();
                searching = true;
            }
        }
    }
    if (searching) {
        // Time is up: none for now. What the search still finds follows, for a menu still open.
        QTimer::singleShot(limitMs, this, [this, number] {
            if (m_unanswered.contains(number))
                emit suggestionsFound(number, {});
        });
    } else {
        QMetaObject::invokeMethod(
            this, [this, number, known] { answerSuggestions(number, known); },
            Qt::QueuedConnection);
    }
    return number;
}

void NuspellEngine::answerSuggestions(quint64 request, const QStringList& suggestions) {
    if (m_unanswered.remove(request))
        emit suggestionsFound(request, suggestions);
}

void NuspellEngine::addToPersonalList(const QString& word) {
    const QString trimmed = word.trimmed();
    const auto answer = [this, word](const files::WriteResult& result) {
        QMetaObject::invokeMethod(
            this, [this, word, result] { emit personalListWritten(word, result); },
            Qt::QueuedConnection);
    };
    if (trimmed.isEmpty() || trimmed.contains(u'\n') || trimmed.contains(u'\r'))
        return answer({false, QStringLiteral("\"%1\" ist kein einzelnes Wort.").arg(word)});
    bool listed = false;
    {
        std::lock_guard lock(m_worker->mutex);
        // A word of the list as loaded, or written since.
        listed = m_worker->personal.contains(trimmed) && !m_worker->unsaved.contains(trimmed);
        m_worker->personal.insert(trimmed);
        if (m_worker->active)
            m_worker->cache.insert(trimmed, State::Right);
    }
    emit checked();
    if (listed)
        return answer({true, QString()});

    // Appended, never rewritten: a long list would take seconds, and a torn write loses nothing.
    // One writer at a time, so that two lines never interleave.
    static std::mutex writing;
    const QString path = spelling::personalListPath();
    // A watcher rather than QFuture::then(): its answer always comes through the event loop,
    // never from within this call.
    auto* watcher = new QFutureWatcher<files::WriteResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, word, trimmed, path] {
        watcher->deleteLater();
        files::WriteResult result = watcher->result();
        {
            std::lock_guard lock(m_worker->mutex);
            if (result.ok)
                m_worker->unsaved.remove(trimmed);
            else
                m_worker->unsaved.insert(trimmed);
        }
        if (!result.ok)
            result.reason =
                QStringLiteral("Das persönliche Wörterbuch %1 konnte nicht gespeichert werden: %2")
                    .arg(path, result.reason);
        emit personalListWritten(word, result);
    });
    watcher->setFuture(QtConcurrent::run([path, line = trimmed.toUtf8()] {
        std::lock_guard lock(writing);
        if (!files::makePrivateFolder(QFileInfo(path).absolutePath()))
            return files::WriteResult{false,
                                      QStringLiteral("Der Ordner konnte nicht angelegt werden.")};
        return files::appendLine(path, line);
    }));
}

void NuspellEngine::ignore(const QString& word) {
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->ignored.insert(word);
        if (m_worker->active)
            m_worker->cache.insert(word, State::Right);
    }
    emit checked();
}
