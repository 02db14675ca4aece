// The try history's costs: how much the store grows per recorded try (through the real recording
// path, each try its own durable transaction, chain value included), and the command line's
// --summary, --export-csv and --verify of an account with 32767 recorded tries as whole processes (start to exit, as a user's script sees
// them).

#include "history/HistorySchema.h"
#include "history/StoreNames.h"
#include "history/TryRecorder.h"
#include "proof/DrawStream.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
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

// A store holding an account with 32767 recorded tries in 33 sealed runs (plain and find-hidden by
// turns), chained and verifiable, written through the real recording path. Its folder lies in
// memory (/dev/shm where there is one) so that 32767 durable commits take seconds, not minutes.
class FullStore
{
public:
    FullStore()
        : m_home(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                     ? QStringLiteral("/dev/shm/qxo-bench-XXXXXX")
                     : QDir::tempPath() + QStringLiteral("/qxo-bench-XXXXXX"))
    {
        qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
        resetSettingsStore();
        SaveSettings(history::kAccountsApplication, kUser,
                     {{history::kUserNameKey, kUser},
                      {history::kHitsKey, QStringLiteral("0")},
                      {history::kTriesKey, QStringLiteral("0")}});
        history::schema::install();
        TryRecorder recorder;
        int hits = 0;
        int tries = 0;
        while (tries < 32767) {
            const bool hidden = tries / 1000 % 2 == 1;
            recorder.beginRun(kUser, hidden ? history::Game::FindHidden : history::Game::Plain);
            for (int i = 0; i < 1000 && tries < 32767; ++i) {
                TryRecorder::CountedTry counted;
                counted.guess = 1 + tries % 5;
                counted.responseMs = 300 + tries % 1000;
                if (hidden) {
                    const proof::DealtFaces dealt = proof::dealFaces(*recorder.draws());
                    for (std::size_t cover = 1; cover <= 5; ++cover)
                        counted.layout[cover - 1] = std::int8_t(dealt[cover]);
                    counted.target = dealt[0];
                    counted.hit = dealt[std::size_t(counted.guess)] == dealt[0];
                } else {
                    counted.target = proof::pickTarget(*recorder.draws());
                    counted.hit = counted.guess == counted.target;
                }
                hits += counted.hit ? 1 : 0;
                recorder.saveTotals(kUser, hits, ++tries, &counted);
            }
            recorder.endRun();
        }
        resetSettingsStore();
        checkpointedSize(SettingsStore::defaultFilePath());
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

// The whole check: the chain of every row, every seed against its commitment, every draw replayed.
void BM_VerifyProcess(benchmark::State &state)
{
    runProgram(state, {QStringLiteral("--verify"), QStringLiteral("--user"), kUser});
}
BENCHMARK(BM_VerifyProcess)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
