#pragma once

#include <QString>

#include <cstdint>

namespace stats {

// A declared series: N tries fixed before the first, judged by the exact one-sided binomial test over
// all N. Valid because N cannot depend on the results: tries left untried when a series ends early count
// as misses, so stopping can never help.

// The usual level: a result chance alone gives at most 1 time in 20.
constexpr double kSeriesLevel = 0.05;
// Series lengths the planner offers and accepts.
constexpr std::int64_t kFewestSeriesTries = 10;
constexpr std::int64_t kMostSeriesTries = 10'000;
// The planner's search stops here (a true rate of 20.3 % already needs about 100 000 tries).
constexpr std::int64_t kMostPlannedTries = 1'000'000;

// The fewest hits in n tries whose upper tail P(X >= k) under chance is at most alpha: the series
// reaches level alpha from there. n + 1 when no number of hits does.
std::int64_t criticalHits(std::int64_t n, double alpha = kSeriesLevel);

// The exact power of a series of n tries: the chance of reaching level alpha if the true hit rate were
// rate, P_rate(X >= criticalHits(n, alpha)).
double seriesPower(std::int64_t n, double rate, double alpha = kSeriesLevel);

// The shortest series with at least the given power against a true hit rate rate (power is not
// monotone in n: this is the first n, as a planner wants). tries is 0 when rate is not above chance,
// alpha or power are not inside 0..1, or no n up to kMostPlannedTries reaches it.
struct SeriesPlan
{
    std::int64_t tries = 0;
    double achievedPower = 0;
};
SeriesPlan planSeries(double rate, double alpha = kSeriesLevel, double power = 0.8);

// The result of a closed series of length tries, of which tried were played with hits hits.
struct SeriesResult
{
    std::int64_t length = 0;
    std::int64_t tried = 0;
    std::int64_t hits = 0;
    std::int64_t missesAdded = 0; // untried tries counted as misses (ended early)
    double pAtLeast = 1;          // P(X >= hits) over the full length
    double pAtMost = 1;           // P(X <= hits) over the full length
    bool reached = false;         // pAtLeast < kSeriesLevel: the 1-in-20 level above chance
    bool psiMissing = false;      // pAtMost < kSeriesLevel
    QString verdict;              // "Chance alone scores this well or better only about 1 time in 21."
};
SeriesResult seriesResult(std::int64_t length, std::int64_t tried, std::int64_t hits);

// "3 of 40 series reached the 1-in-20 level; chance alone gives about 2."
QString seriesTally(int reached, int series);

} // namespace stats
