#pragma once

// Shared by the benchmark programs.

#include <algorithm>
#include <cstddef>
#include <vector>

// The 99th percentile of a benchmark's repetitions (for ComputeStatistics("p99", percentile99)).
inline double percentile99(const std::vector<double> &values)
{
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t index = std::min(sorted.size() - 1, (sorted.size() * 99 + 99) / 100 - 1);
    return sorted[index];
}
