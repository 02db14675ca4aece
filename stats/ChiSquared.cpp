#include "ChiSquared.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <numeric>

namespace stats {

ChiSquaredTest chiSquaredUniform(const std::vector<std::int64_t> &observed, int degreesOfFreedom)
{
    ChiSquaredTest test;
    const double total = double(std::accumulate(observed.begin(), observed.end(), std::int64_t(0)));
    if (observed.size() < 2 || total <= 0)
        return test;
    const double expected = total / double(observed.size());
    for (const std::int64_t count : observed) {
        const double difference = double(count) - expected;
        test.statistic += difference * difference / expected;
    }
    test.degreesOfFreedom = degreesOfFreedom > 0 ? degreesOfFreedom : int(observed.size()) - 1;
    test.p = boost::math::cdf(boost::math::complement(
        boost::math::chi_squared_distribution<double>(test.degreesOfFreedom), test.statistic));
    return test;
}

ChiSquaredTest chiSquaredOfDeals(const std::vector<std::int64_t> &facesByPosition, int faces)
{
    // Every deal is an order of the n faces, so each row and column sum of the table is fixed and a
    // deal's cells are not independent: under fair dealing Pearson's statistic of the table is
    // distributed as n/(n-1) x chi-squared((n-1)^2) (for n = 5: mean 20, not 16). Scaled back by
    // (n-1)/n it is chi-squared on (n-1)^2 degrees of freedom; compared unscaled, a fair deal would be
    // rejected at p < 0.05 about one time in six.
    const int freedom = (faces - 1) * (faces - 1);
    ChiSquaredTest test = chiSquaredUniform(facesByPosition, freedom);
    if (test.degreesOfFreedom == 0)
        return test;
    test.statistic = test.statistic * double(faces - 1) / double(faces);
    test.p = boost::math::cdf(
        boost::math::complement(boost::math::chi_squared_distribution<double>(freedom), test.statistic));
    return test;
}

} // namespace stats
