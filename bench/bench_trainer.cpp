// The trainer window's costs as a user meets them: opening the window, dealing a find-hidden try, a
// counted guess of a test run with its durable store write, and the options panel's slide.
#include "trainer/RandomSource.h"
#include "trainer/TrainerHost.h"
#include "trainer/frmMain.h"

#include "art/Art.h"
#include "history/HistorySchema.h"
#include "platform/Fonts.h"
#include "platform/Form.h"
#include "settings/Settings.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

class NoLoginHost : public TrainerHost
{
public:
    void openLoginWindow() override {}
    void openResultsWindow() override {}
    void tryCounted() override {}
    void planSeries() override {}
    void seriesClosed() override {}
};

// A trainer window for one user, opened as the program opens it, removed at the end.
struct OpenTrainer
{
    explicit OpenTrainer(bool paced = false)
    {
        window = new frmMain(host, std::make_unique<RandomSource>(1));
        window->run().showFor(QStringLiteral("bench"), 0, 0);
        window->setOptionsSlidePaced(paced);
        window->Show();
        window->repaint();
        QApplication::processEvents();
    }
    ~OpenTrainer()
    {
        window->Unload();
        delete window.data();
    }

    NoLoginHost host;
    QPointer<frmMain> window;
};

// Creating the window (every control, pictures from the resources), its load step (outline, closing
// the options panel) and showing it until it is painted.
void BM_CreateAndShowTrainer(benchmark::State &state)
{
    NoLoginHost host;
    for (auto _ : state) {
        auto *window = new frmMain(host);
        window->run().showFor(QStringLiteral("bench"), 0, 0);
        window->Show();
        window->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        window->Unload();
        delete window;
        state.ResumeTiming();
    }
}

void BM_DealRound(benchmark::State &state)
{
    OpenTrainer trainer;
    trainer.window->chkFindHidden->setValue(1);
    trainer.window->StartButton_Click(0);
    for (auto _ : state)
        trainer.window->DealRound();
}

// One guess of a plain test run: counting, the reveal, the score line, the meter and storing both
// totals durably. Each repetition is one guess; the cover is put back (the timer's work) untimed.
std::unique_ptr<OpenTrainer> guessTrainer; // one run across all repetitions

void BM_CountedGuess(benchmark::State &state)
{
    if (!guessTrainer) {
        guessTrainer = std::make_unique<OpenTrainer>();
        guessTrainer->window->StartButton_Click(0);
    }
    frmMain &window = *guessTrainer->window;
    window.timerreset_Timer();
    QApplication::processEvents();
    for (auto _ : state)
        window.Card_Click(3);
    state.counters["tries"] = window.run().RunTries();
}

// One whole slide of the options panel (open, then close on the next iteration), with its repaint at
// each pixel; paced as the user sees it, or as fast as the machine goes.
void BM_OptionsSlide(benchmark::State &state)
{
    OpenTrainer trainer(state.range(0) != 0);
    for (auto _ : state)
        trainer.window->lblOptionsTouch_Click();
}

} // namespace

BENCHMARK(BM_CreateAndShowTrainer)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", percentile99);
BENCHMARK(BM_DealRound)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", percentile99);
BENCHMARK(BM_CountedGuess)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1)
    ->Repetitions(1000)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", percentile99);
BENCHMARK(BM_OptionsSlide)
    ->ArgName("paced")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", percentile99);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The store goes to a private folder (on the same file system as the user's home where that is a
    // real disk), never to the user's own store.
    QTemporaryDir config(QDir::homePath() + QStringLiteral("/.qxo-bench-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    art::initResources();
    platform::installFontSubstitutions();
    platform::FormRegistry::setLastWindowHandler([] {});
    resetSettingsStore();
    // As the program does at start: without the history's tables every counted guess would be a
    // refused write, and the benchmark would time the refusal instead of the store.
    history::schema::install();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    guessTrainer.reset();
    return 0;
}
