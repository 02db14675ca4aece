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

} // namespace stats
