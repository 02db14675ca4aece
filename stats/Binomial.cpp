#include "Binomial.h"

#include <boost/math/distributions/binomial.hpp>

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

using Distribution = boost::math::binomial_distribution<double>;

std::int64_t clampHits(std::int64_t n, std::int64_t k)
{
    return std::clamp<std::int64_t>(k, 0, std::max<std::int64_t>(n, 0));
}

// ln P(X = k).
double logTerm(std::int64_t n, std::int64_t k, double p)
{
    return std::lgamma(double(n) + 1) - std::lgamma(double(k) + 1) - std::lgamma(double(n - k) + 1) +
           double(k) * std::log(p) + double(n - k) * std::log1p(-p);
}

// log10 of a tail too small for a double: its first term times the sum of the following terms' ratios
// to it. Only reached far beyond the mean, where each ratio is well under 1 and the sum settles fast.
double log10DeepTail(std::int64_t n, std::int64_t k, double p, bool upward)
{
    double sum = 1;
    double term = 1;
    for (std::int64_t j = k; upward ? j < n : j > 0; upward ? ++j : --j) {
        term *= upward ? double(n - j) / double(j + 1) * p / (1 - p)
                       : double(j) / double(n - j + 1) * (1 - p) / p;
        sum += term;
        if (term < sum * 1e-17)
            break;
    }
    return (logTerm(n, k, p) + std::log(sum)) / std::log(10.0);
}

} // namespace

double log10ProbabilityAtLeast(std::int64_t n, std::int64_t k, double p)
{
    k = clampHits(n, k);
    const double tail = probabilityAtLeast(n, k, p);
    return tail >= 1e-300 ? std::log10(tail) : log10DeepTail(n, k, p, true);
}

double log10ProbabilityAtMost(std::int64_t n, std::int64_t k, double p)
{
    k = clampHits(n, k);
    const double tail = probabilityAtMost(n, k, p);
    return tail >= 1e-300 ? std::log10(tail) : log10DeepTail(n, k, p, false);
}

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
