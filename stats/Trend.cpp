#include "Trend.h"

#include "HitSummary.h"

#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <cmath>

namespace stats {

TrendTest trendOverRuns(const std::vector<RunCount> &runs)
{
    TrendTest test;
    test.sentence = kTrendTooFew;
    double hits = 0;
    double scoreSum = 0; // sum n_r x_r
    for (const RunCount &run : runs) {
        if (run.tries <= 0)
            continue;
        ++test.runs;
        test.tries += run.tries;
        hits += double(std::clamp<std::int64_t>(run.hits, 0, run.tries));
        scoreSum += double(run.tries) * test.runs;
    }
    test.enough = test.runs >= kFewestTrendRuns && test.tries >= kFewestTrendTries;
    if (test.tries == 0)
        return test;
    const double n = double(test.tries);
    const double meanScore = scoreSum / n;
    double weighted = 0; // sum h_r (x_r - xbar)
    double spread = 0;   // sum n_r (x_r - xbar)^2
    int score = 0;
    for (const RunCount &run : runs) {
        if (run.tries <= 0)
            continue;
        const double offset = ++score - meanScore;
        weighted += double(std::clamp<std::int64_t>(run.hits, 0, run.tries)) * offset;
        spread += double(run.tries) * offset * offset;
    }
    const double rate = hits / n;
    test.slope = spread > 0 ? weighted / spread : 0;
    test.intercept = rate - test.slope * meanScore;
    const double variance = rate * (1 - rate) * spread;
    if (!test.enough)
        return test;
    if (variance > 0) {
        test.z = weighted / std::sqrt(variance);
        test.p = 2 * boost::math::cdf(boost::math::complement(boost::math::normal_distribution<double>(),
                                                              std::abs(test.z)));
    }
    const QString p = probabilityText(test.p);
    test.sentence = test.p >= 0.05 ? kTrendNone.arg(p) : (test.z > 0 ? kTrendRises : kTrendFalls).arg(p);
    return test;
}

} // namespace stats
