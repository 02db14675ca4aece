// Sealed runs and the chained record: what a counted guess adds (its draw and its chained row) and
// checking a whole record of 32 767 tries, from rows and from its exported CSV.

#include "BenchSupport.h"

#include "proof/RecordCsv.h"
#include "proof/SealedRun.h"

#include <benchmark/benchmark.h>

namespace {

const QString kAccount = QStringLiteral("bench");

// 32 767 tries in 33 sealed runs, both games, linked as the store links them.
std::vector<proof::ChainRow> fullRecord()
{
    std::vector<proof::ChainRow> rows;
    int left = 32767;
    for (std::int64_t run = 1; left > 0; ++run) {
        const std::int64_t game = run % 2 + 1;
        const std::int64_t start = 1765000000000 + run * 10'000'000;
        proof::Digest seed{};
        seed[0] = static_cast<unsigned char>(run);
        proof::ChainRow row;
        row.kind = proof::RowKind::RunStart;
        row.timeUtcMs = start;
        row.run = run;
        row.game = game;
        row.secret = proof::commitment(seed, {kAccount, game, start});
        rows.push_back(row);
        const int tries = std::min(left, 1000);
        const auto replayed = proof::replayRun(seed, game, tries);
        for (int t = 1; t <= tries; ++t) {
            proof::ChainRow one;
            one.timeUtcMs = start + t * 2000;
            one.run = run;
            one.tryNumber = t;
            one.game = game;
            one.guess = 1 + t % 5;
            one.target = replayed[std::size_t(t - 1)].target;
            one.layout = proof::layoutNumber(replayed[std::size_t(t - 1)].layout);
            one.hit = game == 1
                          ? one.guess == one.target
                          : replayed[std::size_t(t - 1)].layout[std::size_t(one.guess - 1)] == one.target;
            one.responseMs = 900;
            rows.push_back(one);
        }
        left -= tries;
        proof::ChainRow end;
        end.kind = proof::RowKind::RunEnd;
        end.timeUtcMs = start + 9'000'000;
        end.run = run;
        end.secret = seed;
        rows.push_back(end);
    }
    proof::linkRows(kAccount, rows);
    return rows;
}

// A counted guess's share: the find-hidden deal from the sealed stream and its chained row's value.
void BM_DealAndChainedRow(benchmark::State &state)
{
    proof::SealedRun seal({kAccount, 2, 1765000000000});
    proof::Digest previous = proof::firstLink(kAccount);
    proof::ChainRow row;
    row.run = 1;
    row.game = 2;
    for (auto _ : state) {
        const proof::DealtFaces dealt = proof::dealFaces(seal.draws());
        ++row.tryNumber;
        row.target = dealt[0];
        previous = proof::nextLink(previous, row);
        benchmark::DoNotOptimize(previous);
    }
}
BENCHMARK(BM_DealAndChainedRow)->Unit(benchmark::kMicrosecond)->ComputeStatistics("p99", percentile99);

void BM_VerifyRecordOf32767Tries(benchmark::State &state)
{
    const std::vector<proof::ChainRow> rows = fullRecord();
    for (auto _ : state) {
        const proof::VerifyReport report = proof::verifyRecord(kAccount, rows);
        if (!report.holds() || report.runsVerified != 33)
            state.SkipWithError("the record does not verify");
    }
}
BENCHMARK(BM_VerifyRecordOf32767Tries)->Unit(benchmark::kMillisecond);

void BM_VerifyCsvOf32767Tries(benchmark::State &state)
{
    QString text = proof::recordCsvHeader();
    for (const proof::ChainRow &row : fullRecord())
        text += proof::recordCsvLine(kAccount, row);
    const QByteArray csv = text.toUtf8();
    state.counters["csv_bytes"] = double(csv.size());
    for (auto _ : state) {
        const proof::CsvRecord record = proof::readRecordCsv(csv);
        const proof::VerifyReport report = proof::verifyRecord(record.account.toCaseFolded(), record.rows);
        if (!report.holds())
            state.SkipWithError("the CSV does not verify");
    }
}
BENCHMARK(BM_VerifyCsvOf32767Tries)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
