#include "Secondary.h"

#include "Binomial.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <numeric>

namespace stats {

namespace {

// Guesses of try i against targets of try i + shift, within one run.
void countDisplaced(const RunTries &run, int shift, DisplacementScore &score)
{
    const auto size = std::int64_t(run.size());
    for (std::int64_t i = std::max<std::int64_t>(0, -shift); i < size && i + shift < size; ++i) {
        ++score.tries;
        score.hits += run[std::size_t(i)].guess == run[std::size_t(i + shift)].target ? 1 : 0;
    }
}

VarianceScore runScoreVariance(const std::vector<RunCount> &counts)
{
    VarianceScore score;
    for (const RunCount &run : counts) {
        if (run.tries <= 0)
            continue;
        ++score.runs;
        const double expected = double(run.tries) * kChanceOfHit;
        const double difference = double(run.hits) - expected;
        score.chi2 += difference * difference / (expected * (1 - kChanceOfHit));
    }
    if (score.runs > 0)
        score.p = boost::math::cdf(
            boost::math::complement(boost::math::chi_squared_distribution<double>(score.runs), score.chi2));
    return score;
}

} // namespace

std::vector<RunCount> runCounts(const std::vector<RunTries> &runs)
{
    std::vector<RunCount> counts;
    counts.reserve(runs.size());
    for (const RunTries &run : runs) {
        RunCount count{std::int64_t(run.size()), 0};
        for (const GuessTarget &t : run)
            count.hits += t.guess == t.target ? 1 : 0;
        counts.push_back(count);
    }
    return counts;
}

SecondaryScores secondaryScores(const std::vector<RunTries> &runs, double trendP)
{
    SecondaryScores scores;
    for (const RunTries &run : runs) {
        countDisplaced(run, +1, scores.plus1);
        countDisplaced(run, -1, scores.minus1);
    }
    scores.plus1.p = probabilityTwoSided(scores.plus1.tries, scores.plus1.hits);
    scores.variance = runScoreVariance(runCounts(runs));
    scores.trendP = trendP;
    const std::vector<double> adjusted = holmAdjusted({trendP, scores.plus1.p, scores.variance.p});
    scores.trendPHolm = adjusted[0];
    scores.plus1.pHolm = adjusted[1];
    scores.variance.pHolm = adjusted[2];
    return scores;
}

std::vector<double> holmAdjusted(const std::vector<double> &p)
{
    std::vector<std::size_t> order(p.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
    std::vector<double> adjusted(p.size());
    double running = 0;
    for (std::size_t rank = 0; rank < order.size(); ++rank) {
        running = std::max(running, std::min(1.0, p[order[rank]] * double(p.size() - rank)));
        adjusted[order[rank]] = running;
    }
    return adjusted;
}

} // namespace stats
