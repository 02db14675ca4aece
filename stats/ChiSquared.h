#pragma once

#include <cstdint>
#include <vector>

namespace stats {

// Pearson's chi-squared test of observed counts against equally likely cells.
struct ChiSquaredTest
{
    double statistic = 0;
    int degreesOfFreedom = 0;
    // P(chi-squared >= statistic) under equal chances; 1 when there is nothing to test.
    double p = 1;
};
// degreesOfFreedom: cells - 1 unless given; a table whose rows and columns both have fixed sums
// (r x c) has (r - 1)(c - 1).
ChiSquaredTest chiSquaredUniform(const std::vector<std::int64_t> &observed, int degreesOfFreedom = 0);

// The faces dealt to each position over many deals of n faces (position-major, n x n counts), tested
// against fair dealing. The statistic is Pearson's, scaled by (n - 1)/n, on (n - 1)^2 degrees of
// freedom; why the scaling is in the function's body. Nothing to test (p = 1) without deals.
ChiSquaredTest chiSquaredOfDeals(const std::vector<std::int64_t> &facesByPosition, int faces);

} // namespace stats
