// Large posts: each costly operation of the editor at 1, 10 and 50 MB beside its floor, the same
// result got by a bare QPlainTextEdit or by the system alone. Prints one Markdown table of
// medians. Memory is measured in fresh processes (this program started again with --child);
// start-up and idle memory compare the real program with bench/floor_editor and need an X
// display without a window manager (make bench runs this under xvfb-run).
#include "app/DraftKeeper.h"
#include "app/Form1.h"
#include "dialogs/DraftsWindow.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "editor/WritingAids.h"
#include "platform/boxes.h"
#include "platform/draftfolder.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "spelling/SpellingEngine.h"
#include "text/Drafts.h"
#include "text/EditBuffer.h"
#include "text/QuoteSpacing.h"
#include "text/TextDiff.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <QTimer>

#include <poll.h>
#include <sys/resource.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

constexpr qsizetype kMB = 1'000'000;

void settle() {
    QCoreApplication::processEvents();
}

// Lines of about 70 characters; every 14th is a quote with two blank lines on each side, so F9
// has a run to collapse every 1 KB.
QString makeText(qsizetype size, const QString& lineBreak) {
    const QString line =
        QStringLiteral("Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiu") +
        lineBreak;
    const QString quote = lineBreak + lineBreak + QStringLiteral("[QUOTE]Zitat Zeile[/QUOTE]") +
                          lineBreak + lineBreak + lineBreak;
    QString text;
    text.reserve(size + quote.size());
    for (int i = 1; text.size() < size; ++i)
        text += i % 14 == 0 ? quote : line;
    text.truncate(size);
    return text;
}

// The median of `runs` timed calls of `work`; `before` and `after` run untimed around each.
double median(int runs, const std::function<void()>& before, const std::function<void()>& work,
              const std::function<void()>& after) {
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        before();
        const auto start = Clock::now();
        work();
        times << msBetween(start, Clock::now());
        after();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

const std::function<void()> kNothing = [] {};

qint64 rssKb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for `ms` milliseconds (timers fire, as in the real program).
void runLoop(int ms) {
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Row {
    QString operation;
    qsizetype size = 0; // 0: not tied to a text size
    QString editor;
    QString floor;
    QString ratio;
    QString floorName;
};
QList<Row> g_rows;

QString fmtMs(double ms) {
    return ms < 10 ? QString::number(ms, 'f', 2) + " ms" : QString::number(ms, 'f', 0) + " ms";
}

void addTimes(const QString& operation, qsizetype size, double editor, double floor,
              const QString& floorName) {
    g_rows.append({operation, size, fmtMs(editor), fmtMs(floor),
                   floor > 0.001 ? QString::number(editor / floor, 'f', 2) : QStringLiteral("–"),
                   floorName});
}

// The widget positions of the deletions F9 makes, found the slow way (untimed): the text with
// CR LF, tidied, compared, and each offset mapped back.
QList<std::pair<int, int>> tidyDeletions(const QString& raw) {
    QString crlf = raw;
    crlf.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    const QList<TextChange> changes = smallestChanges(crlf, strFormat(crlf).text);
    QList<std::pair<int, int>> out;
    qsizetype scanned = 0, pairs = 0;
    const auto widgetPos = [&](qsizetype offset) {
        pairs += QStringView(crlf).mid(scanned, offset - scanned).count(u'\n');
        scanned = offset;
        return int(offset - pairs);
    };
    for (const TextChange& change : changes) {
        const int from = widgetPos(change.pos);
        out.append({from, widgetPos(change.pos + change.removed) - from});
    }
    return out;
}

class Bench {
public:
    Bench() : m_form(Form1::Load()) {
        m_form->show();
        m_bare.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn); // as the editor's, see below
        m_bare.resize(m_form->Text1->size());
        m_bare.show();
        QDir::setCurrent(m_dir.path());
        settle();
    }

    void run(qsizetype size) {
        const int runs = size > 10 * kMB ? 3 : 5;
        paste(size, runs);
        autosave(size, runs);
        draft(size, runs);
        keysDuringAutosave(size);
        keysDuringDraft(size);
        idleWithAutosave(size);
        format(size, runs);
        saveCopy(size, runs);
        m_form->Text1->clear();
        m_bare.clear();
        settle();
    }

private:
    void load(QPlainTextEdit* edit, const QString& text) {
        edit->setPlainText(text);
        settle();
    }

    void paste(qsizetype size, int runs) {
        const QString text = makeText(size, QStringLiteral("\n"));
        QGuiApplication::clipboard()->setText(text);
        TextField* edit = m_form->Text1;
        const auto clear = [](QPlainTextEdit* target) {
            return [target] {
                target->clear();
                settle();
            };
        };
        const double editor = median(
            runs, clear(edit),
            [&] {
                edit->paste();
                settle();
            },
            kNothing);
        const double floor = median(
            runs, clear(&m_bare),
            [&] {
                m_bare.textCursor().insertText(text);
                settle();
            },
            kNothing);
        addTimes(QStringLiteral("paste (Ctrl+V)"), size, editor, floor,
                 QStringLiteral("one QTextCursor::insertText"));
        if (edit->document()->toRawText() != m_bare.document()->toRawText())
            std::fprintf(stderr, "paste: the texts differ (%d, %d characters)\n",
                         edit->document()->characterCount(), m_bare.document()->characterCount());
    }

    // A write of the text that falls due: after an edit (the UI thread's share), and with the
    // text unchanged.
    void writeRows(qsizetype size, int runs, const QString& what,
                   const std::function<void()>& write, const std::function<void()>& finish,
                   double floor, const QString& floorName) {
        EditFieldBuffer& buffer = m_form->buffer();
        const double changed = median(
            runs,
            [&] {
                buffer.setSelStart(int(size / 2));
                m_form->Command2_Click();
                settle();
                finish();
            },
            write, finish);
        addTimes(what + QStringLiteral(" after an edit, UI thread"), size, changed, floor,
                 floorName);
        const double unchanged = median(runs, kNothing, write, finish);
        addTimes(what + QStringLiteral(", text unchanged"), size, unchanged, 0,
                 QStringLiteral("nothing"));
    }

    void autosave(qsizetype size, int runs) {
        load(m_form->Text1, makeText(size, QStringLiteral("\r\n")));
        qsizetype sink = 0;
        const double floor = median(
            runs, kNothing, [&] { sink += m_form->Text1->document()->toRawText().size(); },
            kNothing);
        writeRows(
            size, runs, QStringLiteral("autosave tick"), [&] { m_form->Timer1_Timer(); },
            [&] { m_form->finishAutosave(); }, floor, QStringLiteral("the document's raw text"));
        if (sink == 0)
            std::fprintf(stderr, "autosave: empty text\n");
    }

    void draft(qsizetype size, int runs) {
        load(m_form->Text1, makeText(size, QStringLiteral("\r\n")));
        writeRows(
            size, runs, QStringLiteral("draft write"), [&] { m_form->saveDraftNow(); },
            [&] { m_form->drafts().finish(); }, 0, QStringLiteral("–"));
    }

    enum class Writes { None, Autosave, Draft };

    // Keys at a steady pace for three seconds while a write falls due every second (an autosave
    // tick, or a draft's longest wait); a key's time runs from the moment it was due (a write
    // may hold it up) until its repaint is done.
    double worstKey(qsizetype size, Writes writes) {
        m_form->Timer1->setInterval(1000);
        m_form->Check2->setChecked(writes == Writes::Autosave);
        m_form->buffer().setSelStart(int(size / 2));
        settle();
        double worst = 0;
        auto due = Clock::now();
        for (int i = 0; i < 60; ++i) {
            due += std::chrono::milliseconds(50);
            runLoop(int(
                std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count()));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(m_form->Text1, &press);
            QApplication::sendEvent(m_form->Text1, &release);
            settle();
            worst = std::max(worst, msBetween(due, Clock::now()));
            // As the 30 s timer does while typing goes on.
            if (writes == Writes::Draft && i % 20 == 10)
                emit m_form->drafts().due();
        }
        m_form->Check2->setChecked(false);
        m_form->finishAutosave();
        m_form->drafts().finish();
        return worst;
    }

    void keysDuringAutosave(qsizetype size) {
        const double on = worstKey(size, Writes::Autosave);
        const double off = worstKey(size, Writes::None);
        addTimes(QStringLiteral("worst key while autosave runs"), size, on, off,
                 QStringLiteral("the same keys, autosave off"));
    }

    void keysDuringDraft(qsizetype size) {
        m_form->drafts().setEnabled(true);
        const double on = worstKey(size, Writes::Draft);
        m_form->drafts().setEnabled(false);
        const double off = worstKey(size, Writes::None);
        m_form->drafts().setEnabled(true);
        addTimes(QStringLiteral("worst key while drafts are written"), size, on, off,
                 QStringLiteral("the same keys, drafts off"));
    }

    // Share of one core over three idle seconds, writer thread included.
    double idleLoad(bool autosaveOn) {
        m_form->Timer1->setInterval(1000);
        m_form->Check2->setChecked(autosaveOn);
        runLoop(300); // a pause after the last key: the tick does not wait for another one
        m_form->Timer1_Timer(); // the last edit is written; from here on nothing changes
        m_form->finishAutosave();
        // The tags are checked once after the last edit: done before the idle seconds begin.
        while (!m_form->aids().tagsSettled())
            runLoop(20);
        settle();
        const double cpu = cpuSeconds();
        const auto start = Clock::now();
        runLoop(3000);
        const double share = (cpuSeconds() - cpu) * 1000 / msBetween(start, Clock::now());
        m_form->Check2->setChecked(false);
        return share * 100;
    }

    void idleWithAutosave(qsizetype size) {
        const double on = idleLoad(true);
        const double off = idleLoad(false);
        g_rows.append({QStringLiteral("idle with autosave on, % of a core"), size,
                       QString::number(on, 'f', 1) + " %", QString::number(off, 'f', 1) + " %",
                       QStringLiteral("–"), QStringLiteral("autosave off")});
    }

    void format(qsizetype size, int runs) {
        const QString text = makeText(size, QStringLiteral("\r\n"));
        load(m_form->Text1, text);
        load(&m_bare, text);
        const QList<std::pair<int, int>> deletions = tidyDeletions(m_bare.document()->toRawText());
        const double editor = median(
            runs, kNothing,
            [&] {
                m_form->formatQuotes();
                settle();
            },
            [&] {
                m_form->Text1->undo();
                settle();
            });
        qsizetype sink = 0;
        const double floor = median(
            runs, kNothing,
            [&] {
                sink += m_bare.document()->toRawText().size();
                QTextCursor cursor(m_bare.document());
                cursor.beginEditBlock();
                for (auto it = deletions.crbegin(); it != deletions.crend(); ++it) {
                    cursor.setPosition(it->first);
                    cursor.setPosition(it->first + it->second, QTextCursor::KeepAnchor);
                    cursor.removeSelectedText();
                }
                cursor.endEditBlock();
                settle();
            },
            [&] {
                m_bare.undo();
                settle();
            });
        addTimes(QStringLiteral("F9"), size, editor, floor,
                 QStringLiteral("the same deletions from the document's text"));
        m_form->formatQuotes();
        QString expected = strFormat(text).text;
        expected.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
        if (m_form->Text1->document()->toRawText() != expected || sink == 0)
            std::fprintf(stderr, "F9: wrong result\n");
        m_form->Text1->undo();
        settle();
    }

    void saveCopy(qsizetype size, int runs) {
        const QByteArray bytes = fileBytes(m_form->Text1->document()->toRawText());
        const double editor = median(
            runs, kNothing, [&] { m_form->saveUserCopy(); }, kNothing);
        const double floor = median(
            runs, kNothing, [&] { files::writeFile(QStringLiteral("floor.txt"), bytes); },
            kNothing);
        addTimes(QStringLiteral("Ctrl+S"), size, editor, floor,
                 QStringLiteral("atomic write + fsync of the bytes"));
        QFile saved(QStringLiteral("usersave.txt"));
        if (!saved.open(QIODevice::ReadOnly) || saved.readAll() != bytes)
            std::fprintf(stderr, "Ctrl+S: wrong file\n");
    }

    Form1* m_form;
    QPlainTextEdit m_bare;
    QTemporaryDir m_dir;
};

// --child memory-editor|memory-floor SIZE: loads the text (the editor also runs F9, Ctrl+S and
// an autosave), then prints its resident memory in kB.
int childMemory(const QString& which, qsizetype size) {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    if (which.startsWith(QLatin1String("memory-editor"))) {
        memory::returnLargeBlocksToSystem(); // as the program does first
        boxes::seam().active = true;
        Form1* form = Form1::Load();
        if (which.endsWith(QLatin1String("-plain"))) {
            form->aids().setSpellChecking(false);
            form->aids().setTagCheck(false);
        }
        form->show();
        form->Text1->setPlainText(makeText(size, QStringLiteral("\r\n")));
        settle();
        form->formatQuotes();
        settle();
        form->saveUserCopy();
        form->Command2_Click();
        form->Timer1_Timer();
        form->finishAutosave();
        while (!form->aids().tagsSettled() ||
               (form->aids().spellChecking() && !form->aids().checker().isReady()))
            runLoop(20);
        settle();
    } else {
        auto* edit = new QPlainTextEdit;
        // As in the editor: a scroll bar that comes and goes makes Qt lay out every block
        // again, with a layout object each (65 MB more at 10 MB), which would flatter the ratio.
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->resize(640, 480);
        edit->show();
        edit->setPlainText(makeText(size, QStringLiteral("\r\n")));
        settle();
    }
    runLoop(200);
    std::printf("%lld\n", static_cast<long long>(rssKb(QCoreApplication::applicationPid())));
    return 0;
}

qint64 childRss(const QString& which, qsizetype size) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), which, QString::number(size)});
    child.waitForFinished(600'000);
    return child.readAllStandardOutput().trimmed().toLongLong();
}

void memoryRow(qsizetype size) {
    const qint64 floor = childRss(QStringLiteral("memory-floor"), size);
    // The text's own cost with the writing aids off; with them on the dictionary comes on top.
    for (const char* which : {"memory-editor-plain", "memory-editor"}) {
        const qint64 editor = childRss(QString::fromLatin1(which), size);
        const bool aids = qstrcmp(which, "memory-editor") == 0;
        g_rows.append({aids ? QStringLiteral("memory, text loaded, writing aids on (dictionary)")
                            : QStringLiteral("memory, text loaded (editor: after F9, Ctrl+S, "
                                             "autosave; writing aids off)"),
                       size, QString::number(double(editor) / 1024.0, 'f', 1) + " MB",
                       QString::number(double(floor) / 1024.0, 'f', 1) + " MB",
                       QString::number(double(editor) / double(floor), 'f', 2),
                       QStringLiteral("the same text in a bare QPlainTextEdit")});
    }
}

// Drafts of earlier runs as a month of use leaves them: most a few KB, every tenth 100 KB,
// half of them older than the 30 days kept, so that the tidying at start has work.
void plantDrafts(const QString& folder, int count) {
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < count; ++i) {
        const QDateTime written = now.addSecs(-qint64(i) * 3 * 3600 * 2);
        QFile file(folder + QLatin1Char('/') + drafts::fileName(written, 100000 + i));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(fileBytes(makeText(i % 10 == 0 ? 100'000 : 3'000, QStringLiteral("\r\n"))));
        file.flush();
        file.setFileTime(written, QFileDevice::FileModificationTime);
    }
}

// The drafts window with 300 drafts, from the menu's click until it is laid out; and the
// tidying of the same folder, which runs in the background at start.
void draftRows() {
    const QTemporaryDir data;
    const QString folder = data.path() + QStringLiteral("/drafts");
    plantDrafts(folder, 300);
    QList<double> times;
    for (int i = 0; i < 5; ++i) {
        DraftsWindow window(folder, QString(), nullptr);
        const auto start = Clock::now();
        window.open();
        settle();
        times << msBetween(start, Clock::now());
        if (window.list()->count() != 300)
            std::fprintf(stderr, "drafts window: %d rows\n", window.list()->count());
    }
    std::sort(times.begin(), times.end());
    addTimes(QStringLiteral("drafts window with 300 drafts opens"), 0, times[2], 0,
             QStringLiteral("–"));
    const auto start = Clock::now();
    const int removed = draftfolder::tidy(folder, QDateTime::currentDateTime());
    addTimes(QStringLiteral("tidying 300 drafts (background thread)"), 0,
             msBetween(start, Clock::now()), 0, QStringLiteral("–"));
    if (removed == 0)
        std::fprintf(stderr, "tidying: nothing removed\n");
}

struct Start {
    double ms = -1;
    qint64 idleKb = -1;
};

// Starts `program` in a fresh folder and waits until the X server maps one of its windows; the
// memory is read after two idle seconds.
Start startOnce(xcb_connection_t* x, xcb_atom_t pidAtom, const QString& program,
                const QString& dataHome) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QFileInfo(program).fileName());
    QFile::copy(program, copy);
    QProcess child;
    child.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    child.setProcessEnvironment(env);
    Start result;
    const auto begin = Clock::now();
    child.start(copy, {});
    if (!child.waitForStarted())
        return result;
    const auto pid = uint32_t(child.processId());
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (result.ms < 0 && msBetween(begin, Clock::now()) < 20'000) {
        poll(&fd, 1, 100);
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && result.ms < 0) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                const auto cookie =
                    xcb_get_property(x, 0, map->window, pidAtom, XCB_ATOM_CARDINAL, 0, 1);
                if (xcb_get_property_reply_t* reply = xcb_get_property_reply(x, cookie, nullptr)) {
                    if (xcb_get_property_value_length(reply) == 4 &&
                        *static_cast<uint32_t*>(xcb_get_property_value(reply)) == pid)
                        result.ms = msBetween(begin, Clock::now());
                    free(reply);
                }
            }
            free(event);
        }
    }
    QThread::msleep(2000);
    result.idleKb = rssKb(child.processId());
    child.terminate();
    if (!child.waitForFinished(5000))
        child.kill();
    child.waitForFinished();
    return result;
}

void startUp() {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "start-up: no X display, rows left out\n");
        return;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "start-up: cannot connect to the X display\n");
        return;
    }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, 11, "_NET_WM_PID"), nullptr);
    const xcb_atom_t pidAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(atom);
    xcb_flush(x);

    const QString folder = QCoreApplication::applicationDirPath();
    const QString editor = folder + QStringLiteral("/../Beitragsbox");
    const QString floor = folder + QStringLiteral("/floor_editor");
    QList<double> editorMs, floorMs, withDraftsMs;
    QList<qint64> editorKb, floorKb;
    constexpr int kStarts = 9;
    const QTemporaryDir noDrafts;
    const QTemporaryDir manyDrafts;
    plantDrafts(manyDrafts.path() + QStringLiteral("/Beitragsbox/drafts"), 300);
    for (int i = 0; i < kStarts; ++i) { // side by side, alternating
        const Start e = startOnce(x, pidAtom, editor, noDrafts.path());
        const Start f = startOnce(x, pidAtom, floor, noDrafts.path());
        const Start d = startOnce(x, pidAtom, editor, manyDrafts.path());
        editorMs << e.ms;
        editorKb << e.idleKb;
        floorMs << f.ms;
        floorKb << f.idleKb;
        withDraftsMs << d.ms;
    }
    xcb_disconnect(x);
    std::sort(editorMs.begin(), editorMs.end());
    std::sort(floorMs.begin(), floorMs.end());
    std::sort(withDraftsMs.begin(), withDraftsMs.end());
    std::sort(editorKb.begin(), editorKb.end());
    std::sort(floorKb.begin(), floorKb.end());
    constexpr int kMiddle = kStarts / 2;
    addTimes(QStringLiteral("start-up to the mapped window"), 0, editorMs[kMiddle],
             floorMs[kMiddle], QStringLiteral("bare window with one QPlainTextEdit"));
    addTimes(QStringLiteral("start-up with 300 drafts to tidy"), 0, withDraftsMs[kMiddle],
             editorMs[kMiddle], QStringLiteral("the same start with no drafts"));
    g_rows.append({QStringLiteral("idle memory after start-up"), 0,
                   QString::number(double(editorKb[kMiddle]) / 1024.0, 'f', 1) + " MB",
                   QString::number(double(floorKb[kMiddle]) / 1024.0, 'f', 1) + " MB",
                   QString::number(double(editorKb[kMiddle]) / double(floorKb[kMiddle]), 'f', 2),
                   QStringLiteral("bare window with one QPlainTextEdit")});
}

void printTable() {
    std::printf("| operation | text | Beitragsbox | floor | × floor | floor is |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Row& row : g_rows) {
        const QString size =
            row.size == 0 ? QStringLiteral("–") : QString::number(row.size / kMB) + " MB";
        std::printf("| %s | %s | %s | %s | %s | %s |\n", qPrintable(row.operation),
                    qPrintable(size), qPrintable(row.editor), qPrintable(row.floor),
                    qPrintable(row.ratio), qPrintable(row.floorName));
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool child = argc == 4 && qstrcmp(argv[1], "--child") == 0;
    // The timed work runs offscreen; the start-up rows start other programs on the display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (child)
        return childMemory(QString::fromLatin1(argv[2]), QByteArray(argv[3]).toLongLong());
    boxes::seam().active = true;
    memory::returnLargeBlocksToSystem();

    QList<qsizetype> sizes{1 * kMB, 10 * kMB, 50 * kMB};
    if (argc > 1) // sizes in MB, for a quicker look
        sizes = {};
    for (int i = 1; i < argc; ++i)
        sizes << qsizetype(QByteArray(argv[i]).toDouble() * double(kMB));
    // Drafts of this benchmark go to a folder of its own.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    startUp();
    draftRows();
    for (const qsizetype size : sizes)
        memoryRow(size);
    {
        Bench bench;
        for (const qsizetype size : sizes)
            bench.run(size);
    }
    printTable();
    return 0;
}
