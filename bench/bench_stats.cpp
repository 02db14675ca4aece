// The statistics for a long record: everything the summary says about a million tries (both exact
// tails, the exact interval, the verdict).

#include "stats/HitSummary.h"

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK_MAIN();
