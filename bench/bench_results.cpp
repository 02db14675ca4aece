// The Results window with a long record (32 767 recorded tries, the most the 16-bit totals hold):
// opening it until it is painted, a counted guess of a test run while it is open (the try taken in
// and both windows painted), and the charts' redraw that follows a moment later.
#include "results/ChartWidget.h"
#include "results/frmResults.h"
#include "trainer/RandomSource.h"
#include "trainer/TrainerHost.h"
#include "trainer/frmMain.h"

#include "art/Art.h"
#include "history/HistorySchema.h"
#include "platform/Fonts.h"
#include "platform/Form.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QTabWidget>
#include <QPointer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace {

const QString kUser = QStringLiteral("bench");
constexpr int kRecordedTries = 32767;
constexpr int kRunLength = 25;
// The guesses of the guess benchmark, which runs first and brings the record to kRecordedTries.
constexpr int kGuesses = 300;

bool exec(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The account's record: its totals through the store, then the tries, in runs of 25, written straight
// into the history's tables in one transaction (the program writes one durable transaction a try,
// which would take minutes here). The store has created the tables by then.
std::int16_t fillHistory(int tries)
{
    std::mt19937 random(5);
    std::vector<bool> hits(static_cast<std::size_t>(tries));
    int hitCount = 0;
    for (auto &&hit : hits) {
        hit = random() % 5 == 0;
        hitCount += hit ? 1 : 0;
    }
    setStoreSchema(history::schema::storeSchema());
    SaveSettings(QStringLiteral("Orvanta"), kUser,
                 {{QStringLiteral("UserName"), kUser},
                  {QStringLiteral("Hits"), QString::number(hitCount)},
                  {QStringLiteral("Tries"), QString::number(tries)}});
    sqlite3 *db = nullptr;
    sqlite3_open(SettingsStore::defaultFilePath().toUtf8().constData(), &db);
    sqlite3_busy_timeout(db, 5000);
    exec(db, "BEGIN");
    sqlite3_stmt *run = nullptr, *attempt = nullptr;
    sqlite3_prepare_v2(db, history::schema::kInsertRun, -1, &run, nullptr);
    sqlite3_prepare_v2(db, history::schema::kInsertTry, -1, &attempt, nullptr);
    const QByteArray folded = SettingsStore::foldName(kUser).toUtf8();
    const std::int64_t start = 1'780'000'000'000;
    bool written = true;
    for (int i = 0; i < tries; ++i) {
        const int runId = i / kRunLength + 1;
        const std::int64_t time = start + std::int64_t(i) * 3000;
        if (i % kRunLength == 0) {
            sqlite3_bind_int(run, 1, runId); // the run's token
            sqlite3_bind_text(run, 2, folded.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(run, 3, folded.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(run, 4, int(history::Game::Plain));
            sqlite3_bind_int64(run, 5, time);
            written &= sqlite3_step(run) == SQLITE_DONE;
            sqlite3_reset(run);
        }
        const bool hit = hits[std::size_t(i)];
        // token, try, time, game, deck, blind, guess, target; no layout (plain game)
        const int values[] = {runId, i % kRunLength + 1, 0, int(history::Game::Plain), runId % 3, 0,
                              3,     hit ? 3 : 1};
        for (int v = 0; v < 8; ++v)
            sqlite3_bind_int(attempt, v + 1, values[v]);
        sqlite3_bind_int64(attempt, 3, time);
        sqlite3_bind_null(attempt, 9);
        sqlite3_bind_int(attempt, 10, hit ? 1 : 0);
        sqlite3_bind_int(attempt, 11, 900);
        written &= sqlite3_step(attempt) == SQLITE_DONE;
        sqlite3_reset(attempt);
    }
    sqlite3_finalize(run);
    sqlite3_finalize(attempt);
    written &= exec(db, "COMMIT");
    if (!written) {
        // A benchmark of an empty record would report figures that mean nothing.
        std::fprintf(stderr, "filling the history failed: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    // Folded into the database as a record written try by try would be: a bulk write left in the
    // journal makes every later commit slow (7 ms instead of 0.4 ms here) and would be measured too.
    exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    sqlite3_close(db);
    return std::int16_t(hitCount);
}

std::int16_t filledHits = 0;

// Opens the Results window as the program does on a click on the score bar, and tells it of every
// counted try.
class ResultsHost : public TrainerHost
{
public:
    void openLoginWindow() override {}
    void openResultsWindow() override
    {
        if (!window)
            window = new results::frmResults;
        window->showFor(kUser);
    }
    void tryCounted() override
    {
        if (window)
            window->refresh();
    }
    void planSeries() override {}
    void seriesClosed() override {}
    QPointer<results::frmResults> window;
};

// Click to painted: the record read from the store, the figures, the tables and both charts drawn.
void BM_OpenResultsWindow(benchmark::State &state)
{
    ResultsHost host;
    for (auto _ : state) {
        host.openResultsWindow();
        host.window->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        state.counters["recorded"] = host.window->data().recordedTries();
        delete host.window.data();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// One guess of a plain test run with the Results window open: counting, storing the try with the
// totals, the window taking it in, and the next paint of both windows.
void BM_CountedGuessWithResultsOpen(benchmark::State &state)
{
    static ResultsHost host;
    static QPointer<frmMain> trainer;
    if (!trainer) {
        trainer = new frmMain(host, std::make_unique<RandomSource>(1));
        trainer->run().showFor(kUser, std::int16_t(filledHits), std::int16_t(kRecordedTries - kGuesses));
        trainer->setOptionsSlidePaced(false);
        trainer->Show();
        host.openResultsWindow();
        trainer->StartButton_Click(0);
        QApplication::processEvents();
    }
    for (auto _ : state) {
        state.PauseTiming();
        trainer->timerreset_Timer();
        QApplication::processEvents();
        state.ResumeTiming();
        trainer->Card_Click(3);
        QApplication::processEvents();
    }
    state.counters["recorded"] = host.window ? host.window->data().recordedTries() : 0;
}

// What follows a moment after a counted try: the charts redrawn with the whole record. Only the
// shown tab's charts paint, so each tab is shown (untimed) before its charts are redrawn: the sum is
// the "Above chance?" tab's two charts and the "Am I improving?" tab's one.
void BM_ChartsRepaint(benchmark::State &state)
{
    ResultsHost host;
    host.openResultsWindow();
    QApplication::processEvents();
    QTabWidget *tabs = host.window->tabs();
    for (auto _ : state) {
        for (results::ChartKind kind :
             {results::ChartKind::Deviation, results::ChartKind::Spread, results::ChartKind::Trend}) {
            results::ChartWidget *chart = host.window->chart(kind);
            if (!chart->isVisible()) {
                state.PauseTiming();
                tabs->setCurrentIndex(kind == results::ChartKind::Trend ? 1 : 0);
                QApplication::processEvents();
                state.ResumeTiming();
            }
            chart->repaint();
        }
    }
    delete host.window.data();
}

} // namespace

BENCHMARK(BM_CountedGuessWithResultsOpen)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kGuesses)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", percentile99);
BENCHMARK(BM_OpenResultsWindow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", percentile99);
BENCHMARK(BM_ChartsRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(50)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", percentile99);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config(QDir::homePath() + QStringLiteral("/.qxo-bench-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    art::initResources();
    platform::installFontSubstitutions();
    platform::FormRegistry::setLastWindowHandler([] {});
    resetSettingsStore();
    filledHits = fillHistory(kRecordedTries - kGuesses);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
