// The try history's costs: how much the store grows per recorded try (through the real recording
// path, each try its own durable transaction), and the command line's --summary and --export-csv
// of an account with 32767 recorded tries as whole processes (start to exit, as a user's script sees
// them).

#include "history/HistorySchema.h"
#include "history/StoreNames.h"
#include "history/TryRecorder.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

const QString kUser = QStringLiteral("Bench");

// The store file's size with everything checkpointed into it (bytes).
qint64 checkpointedSize(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return QFileInfo(path).size();
}

void recordTries(TryRecorder &recorder, int first, int count)
{
    for (int i = first; i < first + count; ++i) {
        TryRecorder::CountedTry counted;
        counted.guess = 1 + i % 5;
        counted.target = 1 + (i * 7) % 5;
        counted.hit = counted.guess == counted.target;
        counted.responseMs = 400 + i % 900;
        recorder.saveTotals(kUser, i / 5, i + 1, &counted);
    }
}

void BM_StoreGrowthPerTry(benchmark::State &state)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    resetSettingsStore();
    SaveSettings(history::kAccountsApplication, kUser,
                 {{history::kUserNameKey, kUser},
                  {history::kHitsKey, QStringLiteral("0")},
                  {history::kTriesKey, QStringLiteral("0")}});
    history::schema::install();
    TryRecorder recorder;
    recorder.beginRun(kUser, history::Game::Plain);
    recordTries(recorder, 0, 50); // the tables and the run exist before the measurement
    constexpr int kTries = 2000;
    qint64 grown = 0;
    for (auto _ : state) {
        resetSettingsStore();
        const qint64 before = checkpointedSize(SettingsStore::defaultFilePath());
        recordTries(recorder, 50, kTries);
        resetSettingsStore();
        grown = checkpointedSize(SettingsStore::defaultFilePath()) - before;
    }
    state.counters["bytes_per_try"] = double(grown) / kTries;
    recorder.endRun();
    resetSettingsStore();
}
BENCHMARK(BM_StoreGrowthPerTry)->Iterations(1)->Unit(benchmark::kMillisecond);

// A store holding an account with 32767 recorded tries in 33 runs, written straight through the
// history's own statements (one transaction, so the set-up takes a second, not a minute).
class FullStore
{
public:
    FullStore()
    {
        qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
        resetSettingsStore();
        SaveSettings(history::kAccountsApplication, kUser,
                     {{history::kUserNameKey, kUser},
                      {history::kHitsKey, QStringLiteral("6600")},
                      {history::kTriesKey, QStringLiteral("32767")}});
        history::schema::install();
        TryRecorder recorder;
        recorder.beginRun(kUser, history::Game::Plain);
        recordTries(recorder, 0, 1);
        recorder.endRun();
        resetSettingsStore();
        sqlite3 *db = nullptr;
        sqlite3_open_v2(QFile::encodeName(SettingsStore::defaultFilePath()).constData(), &db,
                        SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *run = nullptr;
        sqlite3_stmt *row = nullptr;
        sqlite3_prepare_v2(db, history::schema::kInsertRun, -1, &run, nullptr);
        sqlite3_prepare_v2(db, history::schema::kInsertTry, -1, &row, nullptr);
        for (int i = 1; i < 32767; ++i) {
            const int token = 1000 + i / 1000;
            if (i % 1000 == 0 || i == 1) {
                sqlite3_bind_int(run, 1, token);
                sqlite3_bind_text(run, 2, "bench", -1, SQLITE_STATIC);
                sqlite3_bind_text(run, 3, "Bench", -1, SQLITE_STATIC);
                sqlite3_bind_int(run, 4, 1 + i % 2);
                sqlite3_bind_int64(run, 5, 1'765'000'000'000 + i * 2000LL);
                sqlite3_step(run);
                sqlite3_reset(run);
            }
            const int values[] = {token, i, 0, 1 + i % 2, i % 3, 0, 1 + i % 5, 1 + (i * 7) % 5};
            for (int v = 0; v < 8; ++v)
                sqlite3_bind_int(row, v + 1, values[v]);
            sqlite3_bind_int64(row, 3, 1'765'000'000'000 + i * 2000LL);
            if (i % 2)
                sqlite3_bind_int(row, 9, 31524);
            else
                sqlite3_bind_null(row, 9);
            sqlite3_bind_int(row, 10, (i * 7) % 5 == i % 5);
            sqlite3_bind_int(row, 11, 300 + i % 1000);
            sqlite3_step(row);
            sqlite3_reset(row);
        }
        sqlite3_finalize(run);
        sqlite3_finalize(row);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    QString path() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
};

void runProgram(benchmark::State &state, const QStringList &arguments)
{
    FullStore store;
    for (auto _ : state) {
        QProcess program;
        program.start(QStringLiteral(QXO_PROGRAM), arguments);
        if (!program.waitForFinished(30000) || program.exitCode() != 0) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}

void BM_SummaryProcess(benchmark::State &state)
{
    runProgram(state,
               {QStringLiteral("--summary"), QStringLiteral("--json"), QStringLiteral("--user"), kUser});
}
BENCHMARK(BM_SummaryProcess)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ExportCsvProcess(benchmark::State &state)
{
    QTemporaryDir out;
    runProgram(state, {QStringLiteral("--export-csv"), out.filePath(QStringLiteral("all.csv")),
                       QStringLiteral("--user"), kUser});
}
BENCHMARK(BM_ExportCsvProcess)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
