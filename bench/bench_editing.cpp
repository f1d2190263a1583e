// Speed of the editing commands on the real edit field, for texts of 1 KB, 1 MB and 10 MB, with
// the writing aids (spell checking, tag balance) off (/0) and on (/1), and the aids' own costs.
// Each measurement includes the event processing (layout, painting) that follows a command.
#include "app/Form1.h"
#include "dialogs/PreviewWindow.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "editor/WritingAids.h"
#include "platform/boxes.h"
#include "platform/memory.h"
#include "spelling/NuspellEngine.h"
#include "text/BBCode.h"
#include "text/HtmlToBBCode.h"
#include "text/QuoteSpacing.h"
#include "text/TagBalance.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <malloc.h>
#include <numeric>
#include <string>

namespace {

Form1* g_form = nullptr;

void setAids(bool on) {
    WritingAids& aids = g_form->aids();
    aids.setTagCheck(on);
    aids.setSpellChecking(on);
    // The dictionary comes with the first text.
    while (on && !g_form->Text1->document()->isEmpty() && !aids.checker().isReady())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

double statusMb(const char* key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(std::string(key).size())) / 1024.0;
    return 0;
}
double rssMb() {
    return statusMb("VmRSS:");
}
// The peak resident memory from here on (VmHWM counts from the reset).
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// CPU time of the calling thread, the user-interface thread here.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Runs the event loop until `due` (timers fire, as in the real program).
void runUntil(Clock::time_point due) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now());
    if (left.count() <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(left.count()), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void waitForTagCheck() {
    while (!g_form->aids().tagsSettled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    QCoreApplication::processEvents();
}

// A key press and its release, then the repaint.
void typeKey(Qt::Key key) {
    const QString text = key == Qt::Key_X ? QStringLiteral("x") : QString();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(g_form->Text1, &press);
    QCoreApplication::sendEvent(g_form->Text1, &release);
    QCoreApplication::processEvents();
}

double percentile90(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[qsizetype(std::ceil(0.9 * double(values.size()))) - 1];
}

// Lines of words never seen before (random letters, mostly misspelt): the spell checker's
// worst case, since nothing is in its cache yet.
QString makeUniqueWords(qsizetype size) {
    QString text;
    text.reserve(size + 100);
    QRandomGenerator random(7);
    while (text.size() < size) {
        for (int w = 0; w < 10; ++w) {
            const int length = 3 + int(random.bounded(9));
            text += QChar(u'A' + char16_t(random.bounded(26)));
            for (int i = 1; i < length; ++i)
                text += QChar(u'a' + char16_t(random.bounded(26)));
            text += QLatin1Char(' ');
        }
        text += QStringLiteral("[B]fett[/B]\n");
    }
    text.truncate(size);
    return text;
}

// Lines of about 70 characters; every `quoteEvery`-th line is a quote with blank lines around.
QString makeText(qsizetype size, int quoteEvery) {
    QString text;
    text.reserve(size + 200);
    // German prose with one misspelt word a line: the spell checker underlines a little on
    // every line, as in a hastily written post.
    const QString line =
        QStringLiteral("Das ist ein ganz normaler Satz in einem Beitrag mit einem Fehlr da.\r\n");
    for (int i = 1; text.size() < size; ++i) {
        if (quoteEvery > 0 && i % quoteEvery == 0)
            text += QStringLiteral("\r\n\r\n[QUOTE]Zitat Zeile[/QUOTE]\r\n\r\n");
        else
            text += line;
    }
    text.truncate(size);
    return text;
}

// 10,000 quotes with blank lines around them in the 10 MB text; one per ~140 lines elsewhere.
int quoteEveryFor(qsizetype size) {
    return size >= 10'000'000 ? 14 : 140;
}

void loadText(qsizetype size) {
    EditFieldBuffer& buffer = g_form->buffer();
    if (buffer.TextLength() != size) {
        g_form->Text1->setPlainText(makeText(size, quoteEveryFor(size)));
        QCoreApplication::processEvents();
    }
}

template <typename Command> void runCommand(benchmark::State& state, bool select, Command command) {
    const qsizetype size = state.range(0);
    loadText(size);
    setAids(state.range(1) != 0);
    EditFieldBuffer& buffer = g_form->buffer();
    for (auto _ : state) {
        buffer.setSelStart(int(size / 2));
        if (select)
            buffer.setSelLength(10);
        command();
        QCoreApplication::processEvents();
        // Each round on the same text: the tags of earlier rounds would pile up in one line.
        state.PauseTiming();
        if (g_form->Text1->document()->isUndoAvailable()) {
            g_form->Text1->undo();
            QCoreApplication::processEvents();
        }
        state.ResumeTiming();
    }
    // Back to a fresh text for the next benchmark (not timed: the loop has ended).
    g_form->Text1->setPlainText(QString());
}

void BM_Quote(benchmark::State& s) {
    runCommand(s, false, [] { g_form->Command1_Click(); });
}
void BM_QuoteSel(benchmark::State& s) {
    runCommand(s, true, [] { g_form->Command1_Click(); });
}
void BM_Bold(benchmark::State& s) {
    runCommand(s, false, [] { g_form->Command2_Click(); });
}
void BM_BoldSel(benchmark::State& s) {
    runCommand(s, true, [] { g_form->Command2_Click(); });
}
void BM_Italic(benchmark::State& s) {
    runCommand(s, false, [] { g_form->Command3_Click(); });
}
void BM_ItalicSel(benchmark::State& s) {
    runCommand(s, true, [] { g_form->Command3_Click(); });
}
void BM_Link(benchmark::State& s) {
    runCommand(s, false, [] { g_form->Command4_Click(); });
}
void BM_LinkSel(benchmark::State& s) {
    runCommand(s, true, [] { g_form->Command4_Click(); });
}
void BM_List(benchmark::State& s) {
    runCommand(s, false, [] {
        boxes::seam().inputAnswers.push_back(QStringLiteral("3"));
        g_form->Command5_Click();
    });
}
void BM_ListSel(benchmark::State& s) {
    runCommand(s, true, [] {
        boxes::seam().inputAnswers.push_back(QStringLiteral("3"));
        g_form->Command5_Click();
    });
}
void BM_CtrlA(benchmark::State& s) {
    runCommand(s, false, [] { g_form->markAll(); });
}
void BM_CtrlE(benchmark::State& s) {
    runCommand(s, true, [] { g_form->jumpToEnd(); });
}

// F9 on a text full of untidy quotes; undo restores it between the rounds.
void BM_F9(benchmark::State& state) {
    const qsizetype size = state.range(0);
    loadText(size);
    setAids(state.range(1) != 0);
    for (auto _ : state) {
        g_form->formatQuotes();
        QCoreApplication::processEvents();
        state.PauseTiming();
        g_form->Text1->undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    g_form->Text1->setPlainText(QString());
}

// The user-interface thread's share of an autosave tick after an edit; the file itself is
// written in the background.
void BM_Autosave(benchmark::State& state) {
    const qsizetype size = state.range(0);
    setAids(false);
    loadText(size);
    const QString oldCwd = QDir::currentPath();
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    for (auto _ : state) {
        state.PauseTiming();
        g_form->buffer().setSelStart(int(size / 2));
        g_form->Command2_Click(); // the text changed since the last tick
        QCoreApplication::processEvents();
        state.ResumeTiming();
        g_form->Timer1_Timer();
        state.PauseTiming();
        g_form->finishAutosave();
        state.ResumeTiming();
    }
    QDir::setCurrent(oldCwd);
    g_form->Text1->setPlainText(QString());
}

// One character typed in the middle of the text, as a key press.
void BM_Type(benchmark::State& state) {
    runCommand(state, false, [] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QCoreApplication::sendEvent(g_form->Text1, &press);
        QCoreApplication::sendEvent(g_form->Text1, &release);
    });
}

// A page down in a text of words never seen: the user-interface thread's paint of the new page
// (its words looked up and queued, the known ones underlined).
void BM_PageAfterScroll(benchmark::State& state) {
    g_form->Text1->setPlainText(makeUniqueWords(state.range(0)));
    setAids(state.range(1) != 0);
    const QSize small = g_form->size();
    g_form->resize(1280, 1000); // a page of a maximised window
    QCoreApplication::processEvents();
    QScrollBar* bar = g_form->Text1->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->value() + bar->pageStep());
        g_form->Text1->viewport()->repaint();
    }
    g_form->Text1->setPlainText(QString());
    g_form->resize(small);
}

// From that page down until the worker has checked every word of the page and the underlines
// are painted: what the user waits for. With the aids off only the page is painted (the floor).
void BM_PageChecked(benchmark::State& state) {
    g_form->Text1->setPlainText(makeUniqueWords(state.range(0)));
    setAids(state.range(1) != 0);
    const QSize small = g_form->size();
    g_form->resize(1280, 1000); // a page of a maximised window
    QCoreApplication::processEvents();
    QScrollBar* bar = g_form->Text1->verticalScrollBar();
    SpellingEngine& checker = g_form->aids().checker();
    for (auto _ : state) {
        bar->setValue(bar->value() + bar->pageStep());
        g_form->Text1->viewport()->repaint();
        if (state.range(1) == 0)
            continue;
        // Done when no word of the page waits for the worker any more...
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            const QString page = [] {
                QString words;
                for (QTextBlock b = g_form->Text1->firstVisibleTextBlock();
                     b.isValid() && words.size() < 4000; b = b.next())
                    words += b.text() + QLatin1Char(' ');
                return words;
            }();
            bool pending = false;
            for (const QString& word : page.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                pending = pending || (!word.startsWith(QLatin1Char('[')) &&
                                      checker.state(word) == SpellingEngine::State::Pending);
            if (!pending)
                break;
        }
        // ... and the repaint its last answers asked for is done.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    g_form->Text1->setPlainText(QString());
    g_form->resize(small);
}

// A writer who stops to think: a key in the middle of the text after each pause of 0.41 to 1 s,
// so that the tag check is starting, running or done when the key comes. A key's time runs
// from the moment it was due (work of the check on the user-interface thread holds it up) to
// its repaint: `key_p90_ms` is the 90th percentile. `ui_cpu_ms` is the median of the
// user-interface thread's CPU time for a pause and the key after it (the median, as a key that
// makes Qt look for the widest line again takes 0.2 s at 10 MB, aids or not; `ui_cpu_mean_ms`
// is the mean). The iteration time is meaningless.
void BM_KeyAfterPause(benchmark::State& state) {
    const qsizetype size = state.range(0);
    loadText(size);
    setAids(state.range(1) != 0);
    // Untimed: the view moves to the middle, then one key and its check.
    g_form->buffer().setSelStart(int(size / 2));
    runUntil(Clock::now() + std::chrono::milliseconds(500));
    typeKey(Qt::Key_X);
    waitForTagCheck();
    static const int pausesMs[] = {410, 430, 460, 500, 560, 650, 800, 1000};
    QList<double> keys, cpuMs;
    for (auto _ : state) {
        auto due = Clock::now();
        for (const int pause : pausesMs) {
            const double cpuBefore = threadCpuMs();
            due += std::chrono::milliseconds(pause);
            runUntil(due);
            typeKey(Qt::Key_X);
            keys << msSince(due);
            cpuMs << threadCpuMs() - cpuBefore;
        }
    }
    std::sort(cpuMs.begin(), cpuMs.end());
    state.counters["key_p90_ms"] = percentile90(keys);
    state.counters["ui_cpu_ms"] = cpuMs[cpuMs.size() / 2];
    state.counters["ui_cpu_mean_ms"] =
        std::accumulate(cpuMs.cbegin(), cpuMs.cend(), 0.0) / double(cpuMs.size());
    g_form->Text1->setPlainText(QString());
}

// 10 MB of "[B]" tags, none closed, 20 to a line: a key and a BackSpace each after a pause, as
// in BM_KeyAfterPause (90th percentiles), and the memory the text took once its tags were
// checked, then its peak (growth over the empty field, in MB; the heap trimmed before each
// reading, so that memory freed but kept by the allocator does not count).
void BM_UnclosedTags(benchmark::State& state) {
    g_form->Text1->setPlainText(QString());
    setAids(state.range(1) != 0);
    QCoreApplication::processEvents();
    malloc_trim(0); // what earlier benchmarks freed, so that only this text counts
    const double before = rssMb();
    resetPeakMemory();
    const QString line = QStringLiteral("[B]").repeated(20) + QLatin1Char('\n');
    g_form->Text1->setPlainText(line.repeated(state.range(0) / line.size()));
    QCoreApplication::processEvents();
    setAids(state.range(1) != 0);
    g_form->buffer().setSelStart(int(state.range(0) / 2));
    runUntil(Clock::now() + std::chrono::milliseconds(500));
    waitForTagCheck();
    malloc_trim(0);
    state.counters["memory_MB"] = rssMb() - before;
    QList<double> keys, backspaces;
    for (auto _ : state) {
        for (const Qt::Key key : {Qt::Key_X, Qt::Key_Backspace}) {
            runUntil(Clock::now() + std::chrono::milliseconds(key == Qt::Key_X ? 450 : 700));
            const auto start = Clock::now();
            typeKey(key);
            (key == Qt::Key_X ? keys : backspaces) << msSince(start);
        }
    }
    waitForTagCheck();
    state.counters["peak_MB"] = statusMb("VmHWM:") - before;
    state.counters["key_p90_ms"] = percentile90(keys);
    state.counters["backspace_p90_ms"] = percentile90(backspaces);
    g_form->Text1->setPlainText(QString());
}

// The tag balance of the whole text, on the worker thread.
void BM_TagBalance(benchmark::State& state) {
    const qsizetype size = state.range(0);
    const QString text = makeText(size, quoteEveryFor(size)) + QStringLiteral("[B]");
    for (auto _ : state)
        benchmark::DoNotOptimize(tagbalance::check(text));
    state.SetBytesProcessed(state.iterations() * size);
}

// Loading the German dictionary: what the caller waits (nothing: it loads in the background),
// the time until it is ready, and the memory it takes.
void BM_DictionaryLoad(benchmark::State& state) {
    double readyMs = 0, callMs = 0, memoryMb = 0;
    for (auto _ : state) {
        const double before = rssMb();
        NuspellEngine checker;
        QElapsedTimer clock;
        clock.start();
        checker.load(QStringLiteral("de_DE"));
        callMs += double(clock.nsecsElapsed()) / 1e6;
        while (!checker.isReady())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        readyMs += double(clock.nsecsElapsed()) / 1e6;
        memoryMb = std::max(memoryMb, rssMb() - before);
    }
    const auto n = double(state.iterations());
    state.counters["call_ms"] = callMs / n;
    state.counters["ready_ms"] = readyMs / n;
    state.counters["memory_MB"] = memoryMb;
}

// The longest stretch the user-interface thread is busy: the command itself, then each round of
// the event loop until `done()` (at most five seconds), the idle waits in between not counted.
template <typename Command, typename Done> double longestFreezeMs(Command command, Done done) {
    QElapsedTimer clock;
    clock.start();
    command();
    double longest = double(clock.nsecsElapsed()) / 1e6;
    QElapsedTimer total;
    total.start();
    while (!done() && total.elapsed() < 5000) {
        clock.restart();
        QCoreApplication::processEvents();
        longest = std::max(longest, double(clock.nsecsElapsed()) / 1e6);
        QThread::msleep(1);
    }
    return longest;
}

// A right-click on a misspelt compound of 350 letters, until its suggestions (or none) are
// shown. Compounds are the engine's slowest case.
void BM_RightClickLongWordFreeze(benchmark::State& state) {
    const QString word =
        QStringLiteral("Donaudampfschiffahrtsgesellschaftskapitaen").repeated(9).left(350);
    g_form->Text1->setPlainText(word);
    setAids(true);
    WritingAids& aids = g_form->aids();
    while (aids.misspeltInView().isEmpty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const QPoint point = g_form->Text1->cursorRect(QTextCursor(g_form->Text1->document())).center();
    double freezeMs = 0;
    for (auto _ : state) {
        QMenu menu;
        const auto searching = [&menu] {
            for (QAction* action : menu.actions())
                if (action->text().startsWith(QStringLiteral("Vorschläge werden")))
                    return true;
            return false;
        };
        freezeMs = std::max(freezeMs, longestFreezeMs([&] { aids.extendMenu(&menu, point); },
                                                      [&] { return !searching(); }));
    }
    state.counters["freeze_ms"] = freezeMs;
    g_form->Text1->setPlainText(QString());
}

// "Zum Wörterbuch hinzufügen" with a word list of 50 MB, until the word is in the file.
void BM_AddWordFreeze(benchmark::State& state) {
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString path = spelling::personalListPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QByteArray list;
        list.reserve(50'000'100);
        QRandomGenerator random(5);
        while (list.size() < 50'000'000) {
            list += char('A' + random.bounded(26));
            for (int i = 0; i < 8; ++i)
                list += char('a' + random.bounded(26));
            list += "\r\n";
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(list) != list.size())
            state.SkipWithError("the word list could not be written");
    }
    double freezeMs = 0;
    int round = 0;
    for (auto _ : state) {
        const QString word = QStringLiteral("Quabbelwurz") + QChar(u'a' + char16_t(round++));
        const qint64 before = QFileInfo(path).size();
        freezeMs =
            std::max(freezeMs, longestFreezeMs([&] { g_form->aids().addWord(word); },
                                               [&] { return QFileInfo(path).size() > before; }));
    }
    state.counters["freeze_ms"] = freezeMs;
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

void BM_strFormat(benchmark::State& state) {
    const qsizetype size = state.range(0);
    const QString text = makeText(size, quoteEveryFor(size));
    for (auto _ : state)
        benchmark::DoNotOptimize(strFormat(text));
    state.SetBytesProcessed(state.iterations() * size);
}

// A post parsed and written as the forum's HTML; the odd inputs should cost no more than twice
// what ordinary text of their length does.
void BM_BBCode(benchmark::State& state, QString (*makePost)()) {
    const QString post = makePost();
    for (auto _ : state)
        benchmark::DoNotOptimize(bbcode::forumHtml(bbcode::parse(post)));
    state.SetBytesProcessed(state.iterations() * post.size());
}

// F5 on a 20 KB post until the preview shows it (laid out on the worker, swapped in, painted).
void BM_PreviewFirst(benchmark::State& state) {
    loadText(20'000);
    for (auto _ : state) {
        g_form->togglePreview();
        g_form->preview()->waitUntilShown();
        g_form->preview()->repaint();
        state.PauseTiming();
        g_form->togglePreview();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    g_form->Text1->setPlainText(QString());
}

// Typing in bursts (six keys 70 ms apart, then a pause of 350 ms, in which the preview catches
// up) in the middle of the text, with the preview closed (0) or open (1). A key's time runs from
// the moment it was due to its repaint: the worst (`key_max_ms`) and the mean (`key_mean_ms`).
void BM_TypingWithPreview(benchmark::State& state) {
    const qsizetype size = state.range(0);
    loadText(size);
    g_form->buffer().setSelStart(int(size / 2));
    const bool preview = state.range(1) != 0;
    if (preview) {
        g_form->togglePreview();
        g_form->preview()->waitUntilShown();
    }
    runUntil(Clock::now() + std::chrono::milliseconds(500));
    QList<double> keys;
    for (auto _ : state) {
        auto due = Clock::now();
        for (int burst = 0; burst < 3; ++burst) {
            for (int key = 0; key < 6; ++key) {
                due += std::chrono::milliseconds(key == 0 ? 350 : 70);
                runUntil(due);
                typeKey(Qt::Key_X);
                keys << msSince(due);
            }
        }
    }
    if (preview)
        g_form->togglePreview();
    state.counters["key_max_ms"] = *std::max_element(keys.cbegin(), keys.cend());
    state.counters["key_mean_ms"] =
        std::accumulate(keys.cbegin(), keys.cend(), 0.0) / double(keys.size());
    g_form->Text1->setPlainText(QString());
}

// Ctrl+Shift+V of a web page of `size` bytes: Chromium's clipboard HTML of the sample page,
// repeated, with colours and sizes.
void BM_HtmlPaste(benchmark::State& state) {
    QFile sample(QStringLiteral(BEITRAGSBOX_SOURCE_DIR "/tests/text/htmlpaste/chromium.html"));
    if (!sample.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no sample");
        return;
    }
    const QString piece = QString::fromUtf8(sample.readAll());
    const QString html = QStringLiteral("<html><body>") +
                         piece.repeated(qsizetype(state.range(0)) / piece.toUtf8().size() + 1) +
                         QStringLiteral("</body></html>");
    for (auto _ : state)
        benchmark::DoNotOptimize(htmlpaste::toBBCode(html, {true}));
    state.SetBytesProcessed(state.iterations() * html.size());
}

QString repeatedTo1MB(const char* piece) {
    const QString text = QString::fromLatin1(piece);
    return text.repeated(1'000'000 / text.size());
}

// Text size, then the writing aids off (0) and on (1).
#define EDIT_BENCH(fn)                                                                             \
    BENCHMARK(fn)                                                                                  \
        ->ArgsProduct({{1'000, 1'000'000, 10'000'000}, {0, 1}})                                    \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()
#define SIZE_BENCH(fn)                                                                             \
    BENCHMARK(fn)                                                                                  \
        ->Arg(1'000)                                                                               \
        ->Arg(1'000'000)                                                                           \
        ->Arg(10'000'000)                                                                          \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()

EDIT_BENCH(BM_Type);
EDIT_BENCH(BM_Quote);
EDIT_BENCH(BM_QuoteSel);
EDIT_BENCH(BM_Bold);
EDIT_BENCH(BM_BoldSel);
EDIT_BENCH(BM_Italic);
EDIT_BENCH(BM_ItalicSel);
EDIT_BENCH(BM_Link);
EDIT_BENCH(BM_LinkSel);
EDIT_BENCH(BM_List);
EDIT_BENCH(BM_ListSel);
EDIT_BENCH(BM_CtrlA);
EDIT_BENCH(BM_CtrlE);
EDIT_BENCH(BM_F9);
SIZE_BENCH(BM_Autosave);
SIZE_BENCH(BM_strFormat);
BENCHMARK(BM_PageAfterScroll)
    ->Args({10'000'000, 0})
    ->Args({10'000'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PageChecked)
    ->Args({10'000'000, 0})
    ->Args({10'000'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_KeyAfterPause)
    ->ArgsProduct({{10'000'000, 50'000'000}, {0, 1}})
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_UnclosedTags)
    ->Args({10'000'000, 0})
    ->Args({10'000'000, 1})
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
SIZE_BENCH(BM_TagBalance);
#define BBCODE_BENCH(name, make)                                                                   \
    BENCHMARK_CAPTURE(                                                                             \
        BM_BBCode, name, +[] { return make; })                                                     \
        ->Unit(benchmark::kMillisecond)
BBCODE_BENCH(post_20KB, makeText(20'000, 14));
BBCODE_BENCH(text_1MB, makeText(1'000'000, quoteEveryFor(1'000'000)));
BBCODE_BENCH(bold_1MB, repeatedTo1MB("[b]"));
BBCODE_BENCH(bracket_1MB, repeatedTo1MB("["));
BBCODE_BENCH(quote_1MB, repeatedTo1MB("[quote]"));
BBCODE_BENCH(star_1MB, repeatedTo1MB("[*]"));
BBCODE_BENCH(url_1MB, repeatedTo1MB("[url="));
BENCHMARK(BM_HtmlPaste)->Arg(100'000)->Arg(5'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFirst)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypingWithPreview)
    ->ArgsProduct({{100'000, 10'000'000}, {0, 1}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DictionaryLoad)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
// Last: a suggestion that runs out of time goes on in the background for seconds.
BENCHMARK(BM_AddWordFreeze)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RightClickLongWordFreeze)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    memory::returnLargeBlocksToSystem(); // as the program does
    boxes::seam().active = true;
    QGuiApplication::clipboard()->setText(QStringLiteral("www.beispiel.de"));
    g_form = Form1::Load();
    g_form->show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
