// The statistics for a long record: everything the summary says about a million tries (both exact
// tails, the exact interval, the verdict); the evidence along a full record of 32 767 tries with the
// trend and the exploratory scores; the chart's evidence boundary; and how often pure chance, looked
// at after every try, would be told it is not chance, under the evidence and under the old rule.

#include "stats/Binomial.h"
#include "stats/Evidence.h"
#include "stats/HitSummary.h"
#include "stats/Secondary.h"
#include "stats/Series.h"
#include "stats/Trend.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

void BM_SummaryOfAMillionTries(benchmark::State &state)
{
    std::int64_t hits = 200'400;
    for (auto _ : state) {
        benchmark::DoNotOptimize(stats::summarize(1'000'000, hits));
        // A different record each time, so nothing can be carried over between iterations.
        hits = hits == 200'400 ? 201'900 : 200'400;
    }
}
BENCHMARK(BM_SummaryOfAMillionTries)->Unit(benchmark::kMicrosecond);

// A full record: 32 767 tries in runs of 100 (the last shorter), faces drawn by a seeded generator.
std::vector<stats::RunTries> fullRecord()
{
    std::mt19937_64 generator(7);
    std::vector<stats::RunTries> runs;
    for (int left = 32767; left > 0; left -= 100) {
        stats::RunTries run(std::size_t(std::min(left, 100)));
        for (stats::GuessTarget &t : run)
            t = {int(generator() % 5) + 1, int(generator() % 5) + 1};
        runs.push_back(std::move(run));
    }
    return runs;
}

// What the summary adds for a full record: E along every try with its peak, the trend over runs and
// the three exploratory scores with their Holm adjustment.
void BM_EvidenceTrendAndSecondaryOf32767Tries(benchmark::State &state)
{
    const std::vector<stats::RunTries> runs = fullRecord();
    for (auto _ : state) {
        stats::EvidenceTrack track;
        for (const stats::RunTries &run : runs)
            for (const stats::GuessTarget &t : run)
                track.addTry(t.guess == t.target);
        const stats::TrendTest trend = stats::trendOverRuns(stats::runCounts(runs));
        benchmark::DoNotOptimize(track.log10Peak());
        benchmark::DoNotOptimize(stats::secondaryScores(runs, trend.enough ? trend.p : 1.0));
    }
}
BENCHMARK(BM_EvidenceTrendAndSecondaryOf32767Tries)->Unit(benchmark::kMillisecond);

// The deviation chart's boundary at every length up to a full record.
void BM_EvidenceBoundaryOf32767Tries(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(stats::evidenceBoundary(32767));
}
BENCHMARK(BM_EvidenceBoundaryOf32767Tries)->Unit(benchmark::kMillisecond);

// What the chart draws of it for a full record: one point every 3 pixels of a 1 000-pixel plot, each
// searched alone.
void BM_EvidenceBoundaryAt333Points(benchmark::State &state)
{
    for (auto _ : state) {
        for (std::int64_t point = 0; point <= 333; ++point)
            benchmark::DoNotOptimize(stats::evidenceBoundaryAt(32767 * point / 333));
    }
}
BENCHMARK(BM_EvidenceBoundaryAt333Points)->Unit(benchmark::kMillisecond);

// 2 000 pure-chance lifetimes of 5 000 tries (the unit test's seed), looked at after every try.
// new_rule_rate: lifetimes in which E ever reaches 20. old_rule_rate: lifetimes in which, after at
// least 25 tries, either exact one-sided tail ever falls below 0.05. A measurement, run once.
void BM_PureChanceLookedAtEveryTry(benchmark::State &state)
{
    constexpr int kLifetimes = 2000;
    constexpr int kTries = 5000;
    // The old rule's thresholds for each length: the fewest hits with P(X >= k) < 0.05 and the most
    // with P(X <= k) < 0.05 (-1: none). At 0.05 "<" and "<=" agree: no tail of 1/5 is exactly 1/20.
    std::vector<std::int64_t> upper(kTries + 1), lower(kTries + 1, -1);
    for (int n = 1; n <= kTries; ++n) {
        upper[std::size_t(n)] = stats::criticalHits(n, 0.05);
        std::int64_t k = n > 1 ? lower[std::size_t(n - 1)] : -1;
        while (k + 1 <= n && stats::probabilityAtMost(n, k + 1) < 0.05)
            ++k;
        lower[std::size_t(n)] = k;
    }
    const double level = std::log10(stats::kEvidenceLevel);
    int newRule = 0;
    int oldRule = 0;
    for (auto _ : state) {
        std::mt19937_64 generator(20240601);
        newRule = oldRule = 0;
        for (int lifetime = 0; lifetime < kLifetimes; ++lifetime) {
            stats::EvidenceTrack track;
            bool newSaid = false;
            bool oldSaid = false;
            for (int t = 1; t <= kTries; ++t) {
                track.addTry(generator() % 5 == 0);
                newSaid = newSaid || track.current().log10Value >= level;
                const std::int64_t k = track.hits();
                oldSaid = oldSaid || (t >= 25 && (k >= upper[std::size_t(t)] || k <= lower[std::size_t(t)]));
            }
            newRule += newSaid ? 1 : 0;
            oldRule += oldSaid ? 1 : 0;
        }
    }
    state.counters["new_rule_rate"] = double(newRule) / kLifetimes;
    state.counters["old_rule_rate"] = double(oldRule) / kLifetimes;
}
BENCHMARK(BM_PureChanceLookedAtEveryTry)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
