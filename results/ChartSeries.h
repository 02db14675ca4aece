#pragma once

#include "ResultsData.h"

#include <vector>

// What the charts plot, worked out without a screen so that the picture can be checked against the
// figures it stands for.
namespace results {

// The anytime-valid boundary on the deviation chart's scale: at this recorded try, the hits above
// chance (recorded hits - tries/5) at which the evidence reaches kEvidenceLevel, above and below
// chance (NaN where no count of hits reaches it yet). The tries counted before the history began are
// part of the evidence, so the boundary is shifted by how far they lie from chance: the series
// crosses the line exactly where the verdict changes. Between two counts of hits the line lies where
// log E crosses the level, so it runs smoothly rather than in steps of one hit.
struct BoundaryPoint
{
    int tries = 0;
    double above = 0;
    double below = 0;
};
// At most samples + 1 points, evenly spread over 0..recorded tries (every try when there are fewer).
std::vector<BoundaryPoint> evidenceBoundaryPoints(const ResultsData &data, int samples);

// One run on the trend chart: its place in time order (1..runs), its hit rate (0..1) and its tries,
// which set the dot's area.
struct RunDot
{
    int order = 0;
    double rate = 0;
    std::int64_t tries = 0;
};
std::vector<RunDot> runDots(const ResultsData &data);

// The trend's fitted line from the first run to the last, as hit rates (0..1); shown only where
// there are two runs or more to fit.
struct TrendLine
{
    bool shown = false;
    double firstRate = 0;
    double lastRate = 0;
};
TrendLine trendLine(const ResultsData &data);

} // namespace results
