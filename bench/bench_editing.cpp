// Speed of the editing commands on the real edit field, for texts of 1 KB, 1 MB and 10 MB.
// Each measurement includes the event processing (layout, painting) that follows a command.
#include "app/Form1.h"
#include "editor/Text1Buffer.h"
#include "editor/TextField.h"
#include "markup/QuoteSpacing.h"
#include "platform/boxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

Form1* g_form = nullptr;

// Lines of about 70 characters; every `quoteEvery`-th line is a quote with blank lines around.
QString makeText(qsizetype size, int quoteEvery) {
    QString text;
    text.reserve(size + 200);
    const QString line =
        QStringLiteral("Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiu\r\n");
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
    Text1Buffer& buffer = g_form->buffer();
    if (buffer.TextLength() != size) {
        g_form->Text1->setPlainText(makeText(size, quoteEveryFor(size)));
        QCoreApplication::processEvents();
    }
}

template <typename Command> void runCommand(benchmark::State& state, bool select, Command command) {
    const qsizetype size = state.range(0);
    loadText(size);
    Text1Buffer& buffer = g_form->buffer();
    for (auto _ : state) {
        buffer.setSelStart(int(size / 2));
        if (select)
            buffer.setSelLength(10);
        command();
        QCoreApplication::processEvents();
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

void BM_strFormat(benchmark::State& state) {
    const qsizetype size = state.range(0);
    const QString text = makeText(size, quoteEveryFor(size));
    for (auto _ : state)
        benchmark::DoNotOptimize(strFormat(text));
    state.SetBytesProcessed(state.iterations() * size);
}

#define EDIT_BENCH(fn)                                                                             \
    BENCHMARK(fn)                                                                                  \
        ->Arg(1'000)                                                                               \
        ->Arg(1'000'000)                                                                           \
        ->Arg(10'000'000)                                                                          \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()

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
EDIT_BENCH(BM_Autosave);
EDIT_BENCH(BM_strFormat);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    boxes::seam().active = true;
    QGuiApplication::clipboard()->setText(QStringLiteral("www.beispiel.de"));
    g_form = Form1::Load();
    g_form->show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
