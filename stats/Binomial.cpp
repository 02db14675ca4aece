#include "Binomial.h"

#include <boost/math/distributions/binomial.hpp>

#include <algorithm>

namespace stats {

namespace {

using Distribution = boost::math::binomial_distribution<double>;

std::int64_t clampHits(std::int64_t n, std::int64_t k)
{
    return std::clamp<std::int64_t>(k, 0, std::max<std::int64_t>(n, 0));
}

} // namespace

double probabilityAtLeast(std::int64_t n, std::int64_t k, double p)
{
    k = clampHits(n, k);
    if (k == 0)
        return 1.0;
    // P(X >= k) = P(X > k - 1), taken as the complement so the far upper tail keeps its digits.
    return boost::math::cdf(boost::math::complement(Distribution(double(n), p), double(k - 1)));
}

double probabilityAtMost(std::int64_t n, std::int64_t k, double p)
{
    k = clampHits(n, k);
    if (k >= n)
        return 1.0;
    return boost::math::cdf(Distribution(double(n), p), double(k));
}

double probabilityTwoSided(std::int64_t n, std::int64_t k, double p)
{
    return std::min(1.0, 2.0 * std::min(probabilityAtLeast(n, k, p), probabilityAtMost(n, k, p)));
}

Interval clopperPearson(std::int64_t n, std::int64_t k, double confidence)
{
    if (n <= 0)
        return {0.0, 1.0};
    k = clampHits(n, k);
    const double tail = (1.0 - confidence) / 2.0;
    const auto method = Distribution::clopper_pearson_exact_interval;
    return {Distribution::find_lower_bound_on_p(double(n), double(k), tail, method),
            Distribution::find_upper_bound_on_p(double(n), double(k), tail, method)};
}

} // namespace stats
