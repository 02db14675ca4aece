#pragma once

#include "ResultsData.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace results {

enum class ChartKind
{
    Deviation, // cumulative hits above chance against the try number, with chance's 95 % band
    Spread,    // the runs' accuracies beside what chance alone gives for runs of those lengths
    Trend,     // each run's hit rate in time order, chance's 20 % and the trend fitted to the runs
};

// The colours the charts share: the record, and chance alone.
inline const QColor kSeriesColor(31, 111, 180);
inline const QColor kChanceColor(200, 90, 0);

// Round steps for an axis: 1, 2 or 5 times a power of ten, so that [0, span] holds at most maxTicks.
double niceStep(double span, int maxTicks);
// Tick values from low to high (both multiples of step, inclusive).
std::vector<double> ticks(double low, double high, double step);

// The y range of the deviation chart: symmetric about 0 and wide enough for the series and for the
// band at the last try (and for alsoShow, hits either side of chance), rounded out to whole ticks.
// Never empty.
struct AxisRange
{
    double low = 0;
    double high = 1;
    double step = 1;
};
AxisRange deviationRange(const std::vector<std::int32_t> &cumulativeHits, double alsoShow = 0);

// Draws one chart with its title, axes, tick labels, series and legend into rect. With nothing to
// show (no recorded try, no run) it draws only the title and the empty-record sentence: no axes.
// Used for the window, for PNG and for SVG alike, so a saved chart is what the window shows.
void paintChart(QPainter &painter, const QRectF &rect, ChartKind kind, const ResultsData &data,
                const QFont &font, const QPalette &palette);

// The chart's title, as drawn above it.
QString chartTitle(ChartKind kind);
// One sentence saying what the chart shows for this record, for screen readers.
QString chartDescription(ChartKind kind, const ResultsData &data);

} // namespace results
