#pragma once

#include "Trend.h"

#include <cstdint>
#include <vector>

namespace stats {

// One try: the face guessed and the face dealt, 1..5.
struct GuessTarget
{
    int guess = 0;
    int target = 0;
};
// A run's tries in the order they were played.
using RunTries = std::vector<GuessTarget>;

// Exploratory scores beyond the hit count, looked at together: their p-values are Holm-adjusted as one
// family of three (trend, +1 displacement, run-score variance), so looking at all three does not make a
// chance finding among them likelier than the level says. A test that could not be done (too few runs
// for a trend) stays in the family with p = 1.
struct DisplacementScore
{
    std::int64_t tries = 0;
    std::int64_t hits = 0;
    double p = 1;     // two-sided exact binomial against 1/5 (twice the smaller tail, at most 1)
    double pHolm = 1; // unused for -1, which is a habit, never evidence
};
struct VarianceScore
{
    int runs = 0;
    double chi2 = 0; // sum (h_r - n_r/5)^2 / (0.16 n_r), df = runs
    double p = 1;    // upper tail: runs scatter more than chance lets them
    double pHolm = 1;
};
struct SecondaryScores
{
    DisplacementScore plus1;  // guess i against target i + 1: a glimpse of the card to come
    DisplacementScore minus1; // guess i against target i - 1: following the card just seen
    VarianceScore variance;
    double trendP = 1;
    double trendPHolm = 1;
};

// Scores of runs given try by try (a displacement never crosses from one run into the next). trendP is
// the trend test's p over the same runs (1 when it had too few).
SecondaryScores secondaryScores(const std::vector<RunTries> &runs, double trendP);

// Tries and hits of each run, for the trend test.
std::vector<RunCount> runCounts(const std::vector<RunTries> &runs);

// Holm's step-down adjustment: the i-th smallest of m p-values times (m - i + 1), kept from falling
// below the one before and capped at 1; returned in the order given.
std::vector<double> holmAdjusted(const std::vector<double> &p);

} // namespace stats
