#include "TrendChart.h"

#include "ChartFrame.h"
#include "ChartSeries.h"
#include "ResultsTexts.h"

#include "stats/Binomial.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace results {

namespace {

const QColor kTrendColor(15, 55, 100);

// Runs 1..runs across with half a run to spare at each end, hit rates in percent up.
struct TrendScale
{
    QRectF plot;
    int runs = 1;
    AxisRange range;
    double px(double run) const { return plot.left() + (run - 0.5) / runs * plot.width(); }
    double py(double percent) const { return plot.bottom() - percent / range.high * plot.height(); }
};

// 0 to at least 40 %, and past the best run's rate to the next tenth but one, so its dot stays clear
// of the frame.
AxisRange trendRange(const std::vector<RunDot> &dots)
{
    double best = 0;
    for (const RunDot &dot : dots)
        best = std::max(best, dot.rate);
    AxisRange range;
    range.low = 0;
    range.high = std::clamp(std::ceil(best * 10 + 0.3) * 10, 40.0, 100.0);
    range.step = niceStep(range.high, 5);
    return range;
}

void drawRunAxis(QPainter &painter, const Frame &frame, const TrendScale &scale, const QFontMetricsF &metrics)
{
    const QLocale locale;
    const double labelWidth = metrics.horizontalAdvance(locale.toString(scale.runs)) * 2.2;
    const int maxTicks = std::max(1, static_cast<int>(scale.plot.width() / std::max(1.0, labelWidth)));
    const double step = std::max(1.0, niceStep(scale.runs, maxTicks));
    std::vector<double> marks = ticks(step, scale.runs, step);
    if (step >= 5) // the first run is marked too, so the axis reads as counting runs from 1
        marks.insert(marks.begin(), 1.0);
    for (double run : marks)
        drawXLabel(painter, frame, scale.px(run), locale.toString(run, 'f', 0));
    drawXTitle(painter, frame, resultstext::kTrendAxisX);
}

void drawDots(QPainter &painter, const TrendScale &scale, const std::vector<RunDot> &dots, double line)
{
    std::int64_t most = 1;
    for (const RunDot &dot : dots)
        most = std::max(most, dot.tries);
    // The longest run's dot is as wide as a line of text, or as the space for one run where runs
    // crowd; the area, not the width, follows the tries.
    const double smallest = std::max(1.5, line * 0.12);
    const double largest = std::max(smallest, std::min(line * 0.55, scale.plot.width() / scale.runs * 0.6));
    QColor fill = kSeriesColor;
    fill.setAlphaF(0.55);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kSeriesColor, 1));
    painter.setBrush(fill);
    for (const RunDot &dot : dots) {
        const double radius = std::max(smallest, largest * std::sqrt(double(dot.tries) / double(most)));
        painter.drawEllipse(QPointF(scale.px(dot.order), scale.py(100 * dot.rate)), radius, radius);
    }
    painter.setBrush(Qt::NoBrush);
}

} // namespace

void paintTrend(QPainter &painter, const QRectF &rect, const ResultsData &data, const QFont &font,
                const QPalette &palette)
{
    const QFontMetricsF metrics(font);
    const QColor ink = palette.color(QPalette::WindowText);
    QColor grid = ink;
    grid.setAlphaF(0.15);
    const std::vector<RunDot> dots = runDots(data);
    const AxisRange range = trendRange(dots);
    const Frame frame = layOut(rect, metrics, widestLabel(metrics, range), !dots.empty());
    painter.setPen(ink);
    drawTitle(painter, frame, resultstext::kTrendTitle, font);
    if (dots.empty()) {
        drawEmpty(painter, frame);
        return;
    }
    const TrendLine trend = trendLine(data);
    double x = drawLegendEntry(painter, frame.legend, frame.legend.left(), resultstext::kLegendRuns,
                               kSeriesColor, Swatch::Dot, ink);
    x = drawLegendEntry(painter, frame.legend, x, resultstext::kLegendChance, kChanceColor, Swatch::Dashes,
                        ink);
    if (trend.shown)
        drawLegendEntry(painter, frame.legend, x, resultstext::kLegendTrend, kTrendColor, Swatch::Line, ink);

    drawYAxis(painter, frame, range, resultstext::kTrendAxisY, ink, grid);
    const TrendScale scale{frame.plot, int(dots.size()), range};
    painter.setPen(ink);
    drawRunAxis(painter, frame, scale, metrics);

    const double pen = std::max(1.5, metrics.height() / 9);
    painter.save();
    painter.setClipRect(frame.plot);
    painter.setPen(QPen(kChanceColor, pen, Qt::DashLine, Qt::FlatCap));
    const double chance = scale.py(100 * stats::kChanceOfHit);
    painter.drawLine(QPointF(frame.plot.left(), chance), QPointF(frame.plot.right(), chance));
    if (trend.shown) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kTrendColor, pen, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(scale.px(1), scale.py(100 * trend.firstRate)),
                         QPointF(scale.px(scale.runs), scale.py(100 * trend.lastRate)));
    }
    // A dot at 0 or 100 % shows whole, over the frame.
    const double margin = metrics.height();
    painter.setClipRect(frame.plot.adjusted(-margin, -margin, margin, margin));
    drawDots(painter, scale, dots, metrics.height());
    painter.restore();

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ink, 0));
    painter.drawRect(frame.plot);
}

} // namespace results
