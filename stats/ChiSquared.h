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
ChiSquaredTest chiSquaredUniform(const std::vector<std::int64_t> &observed);

} // namespace stats
