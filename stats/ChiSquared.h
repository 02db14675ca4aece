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

} // namespace stats
