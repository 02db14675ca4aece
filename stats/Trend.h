#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace stats {

// Tries and hits of one run.
struct RunCount
{
    std::int64_t tries = 0;
    std::int64_t hits = 0;
};

// Does the hit rate rise or fall over runs? The Cochran-Armitage trend test over runs in time order,
// scored 1..R (runs without tries are left out before scoring):
// z = sum h_r (x_r - xbar) / sqrt(p q sum n_r (x_r - xbar)^2), two-sided p from the normal.
// The line drawn through the runs' hit rates is their least-squares fit weighted by tries; its slope is
// sum h_r (x_r - xbar) / sum n_r (x_r - xbar)^2, so z is exactly that slope over its standard error
// under chance, and the chart's line and the test always agree in sign.
struct TrendTest
{
    int runs = 0;           // runs with at least one try
    std::int64_t tries = 0; // over those runs
    bool enough = false;    // at least kFewestTrendRuns runs and kFewestTrendTries tries
    double z = 0;           // 0 when not enough, or every try a hit or every try a miss
    double p = 1;           // two-sided; 1 when not enough
    double intercept = 0;   // fitted hit rate (0..1) = intercept + slope * run index (1..runs)
    double slope = 0;       // per run
    QString sentence;
};
constexpr int kFewestTrendRuns = 3;
constexpr std::int64_t kFewestTrendTries = 50;

TrendTest trendOverRuns(const std::vector<RunCount> &runs);

inline const QString kTrendTooFew = QStringLiteral("Too few runs to tell yet.");
// %1: the two-sided p, as probabilityText() gives it.
inline const QString kTrendRises = QStringLiteral("Your hit rate rises over your runs (p = %1).");
inline const QString kTrendFalls = QStringLiteral("Your hit rate falls over your runs (p = %1).");
inline const QString kTrendNone = QStringLiteral("No clear trend over your runs (p = %1).");

} // namespace stats
