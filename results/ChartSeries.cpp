#include "ChartSeries.h"

#include "stats/Evidence.h"

#include <algorithm>
#include <cmath>

namespace results {

namespace {

// Between a count of hits that falls short of the level and the next one out that reaches it, the
// place where log E crosses the level (linearly in between): a smooth line that every count beyond
// it reaches and every count inside falls short of, where the counts themselves would draw steps.
double crossing(std::int64_t tries, double reaching, double shortOf)
{
    const double level = std::log10(stats::kEvidenceLevel);
    if (shortOf < 0 || shortOf > double(tries))
        return reaching;
    const double reached = stats::evidence(tries, std::int64_t(reaching)).log10Value;
    const double fell = stats::evidence(tries, std::int64_t(shortOf)).log10Value;
    const double part = reached > fell ? std::clamp((level - fell) / (reached - fell), 0.0, 1.0) : 1.0;
    return shortOf + (reaching - shortOf) * part;
}

} // namespace

std::vector<BoundaryPoint> evidenceBoundaryPoints(const ResultsData &data, int samples)
{
    const int recorded = data.recordedTries();
    // The evidence walks the tries before the history as one block only where the totals agree with
    // the record (else no verdict is drawn, and the walk starts at the first recorded try).
    const std::int64_t blockTries = data.totals.consistent ? data.beforeHistoryTries : 0;
    const std::int64_t blockHits = data.totals.consistent ? data.beforeHistoryHits : 0;
    const double blockAbove = double(blockHits) - double(blockTries) * stats::kChanceOfHit;
    const int steps = std::max(1, std::min(samples, recorded));
    std::vector<BoundaryPoint> points;
    points.reserve(std::size_t(steps) + 1);
    for (int step = 0; step <= steps; ++step) {
        const int tries = int(std::int64_t(recorded) * step / steps);
        if (!points.empty() && points.back().tries == tries)
            continue;
        const std::int64_t n = blockTries + tries;
        const stats::EvidenceBoundary whole = stats::evidenceBoundaryAt(n);
        const double expected = double(n) * stats::kChanceOfHit;
        BoundaryPoint point{tries, whole.above, whole.below};
        if (!std::isnan(whole.above)) {
            const double reaching = std::round(whole.above + expected);
            point.above = crossing(n, reaching, reaching - 1) - expected;
        }
        if (!std::isnan(whole.below)) {
            const double reaching = std::round(whole.below + expected);
            point.below = crossing(n, reaching, reaching + 1) - expected;
        }
        point.above -= blockAbove;
        point.below -= blockAbove;
        points.push_back(point);
    }
    return points;
}

std::vector<RunDot> runDots(const ResultsData &data)
{
    std::vector<RunDot> dots;
    dots.reserve(std::size_t(data.runs.size()));
    for (const RunRow &run : data.runs) {
        if (run.tally.tries <= 0)
            continue;
        dots.push_back(
            {int(dots.size()) + 1, double(run.tally.hits) / double(run.tally.tries), run.tally.tries});
    }
    return dots;
}

TrendLine trendLine(const ResultsData &data)
{
    const stats::TrendTest &trend = data.trend;
    if (trend.runs < 2)
        return {};
    return {true, trend.intercept + trend.slope, trend.intercept + trend.slope * trend.runs};
}

} // namespace results
