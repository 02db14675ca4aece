#include "ChartPainter.h"

#include "ChartFrame.h"
#include "ChartSeries.h"
#include "TrendChart.h"

#include "ResultsFormat.h"
#include "ResultsTexts.h"

#include "stats/Binomial.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace results {

namespace {

// Chance alone: p = 1/5, so the variance of the hits after n tries is n * 0.16.
constexpr double kChance = stats::kChanceOfHit;
constexpr double kVariancePerTry = stats::kVariancePerTry;
constexpr double kBand = stats::kBand95Z;

const QColor kBoundaryColor(150, 30, 110);

double deviationAt(const std::vector<std::int32_t> &cumulativeHits, std::size_t index)
{
    return cumulativeHits[index] - static_cast<double>(index + 1) * kChance;
}

// The deviation plot's scale: tries 0..n across, the range's values up.
struct DeviationScale
{
    QRectF plot;
    double n = 1;
    AxisRange range;
    double px(double tries) const { return plot.left() + tries / n * plot.width(); }
    double py(double value) const
    {
        return plot.bottom() - (value - range.low) / (range.high - range.low) * plot.height();
    }
};

// Chance's 95 % band about the zero line, one point per few pixels: its edge is a smooth square root.
// Filled without smoothing: a faint grey edge shows no steps, and smoothing a shape this large costs
// more than the rest of the chart.
void drawChanceBand(QPainter &painter, const DeviationScale &scale, const QColor &band, const QColor &ink)
{
    const QRectF &plot = scale.plot;
    const double n = scale.n;
    const int steps = std::max(2, static_cast<int>(plot.width() / 3));
    QPolygonF bandShape;
    for (int i = 0; i <= steps; ++i) {
        const double t = n * i / steps;
        bandShape << QPointF(scale.px(t), scale.py(kBand * std::sqrt(kVariancePerTry * t)));
    }
    for (int i = steps; i >= 0; --i) {
        const double t = n * i / steps;
        bandShape << QPointF(scale.px(t), scale.py(-kBand * std::sqrt(kVariancePerTry * t)));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(band);
    painter.drawPolygon(bandShape);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 0, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), scale.py(0)), QPointF(plot.right(), scale.py(0)));
}

// Where the evidence reaches 20 to 1, above and below chance: dashed lines, broken where no count of
// hits reaches it yet.
void drawEvidenceBoundary(QPainter &painter, const DeviationScale &scale,
                          const std::vector<BoundaryPoint> &points, double penWidth)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kBoundaryColor, penWidth, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
    for (double BoundaryPoint::*side : {&BoundaryPoint::above, &BoundaryPoint::below}) {
        QPolygonF line;
        for (const BoundaryPoint &point : points) {
            const double value = point.*side;
            if (std::isnan(value)) {
                if (line.size() > 1)
                    painter.drawPolyline(line);
                line.clear();
                continue;
            }
            line << QPointF(scale.px(point.tries), scale.py(value));
        }
        if (line.size() > 1)
            painter.drawPolyline(line);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

// The series: a line through every try where each has a pixel column of its own; else, per column,
// one upright stroke from the lowest to the highest value the column's tries reach (and the previous
// column's last value, so the strokes join). That draws the same picture as the full line at a small
// part of its cost: a stroked line of thousands of zigzags is slow.
void drawDeviationSeries(QPainter &painter, const DeviationScale &scale,
                         const std::vector<std::int32_t> &hits, double penWidth)
{
    const QRectF &plot = scale.plot;
    const double n = scale.n;
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen pen(kSeriesColor, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    const int columns = std::max(1, static_cast<int>(std::ceil(plot.width())));
    if (hits.size() <= static_cast<std::size_t>(columns)) {
        QPolygonF line;
        line << QPointF(scale.px(0), scale.py(0));
        for (std::size_t i = 0; i < hits.size(); ++i)
            line << QPointF(scale.px(static_cast<double>(i + 1)), scale.py(deviationAt(hits, i)));
        painter.drawPolyline(line);
        return;
    }
    QList<QLineF> strokes;
    strokes.reserve(columns);
    double last = 0;
    std::size_t i = 0;
    for (int column = 0; column < columns && i < hits.size(); ++column) {
        const std::size_t end =
            std::min(hits.size(), static_cast<std::size_t>(std::ceil(n * (column + 1) / columns)));
        if (end <= i)
            continue;
        double low = last, high = last;
        for (; i < end; ++i) {
            const double value = deviationAt(hits, i);
            low = std::min(low, value);
            high = std::max(high, value);
        }
        last = deviationAt(hits, end - 1);
        const double x = plot.left() + column + 0.5;
        strokes.append(QLineF(x, scale.py(low), x, scale.py(high)));
    }
    // Upright strokes need no smoothing, and drawn without it cost a fraction.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kSeriesColor, std::round(pen.widthF()), Qt::SolidLine, Qt::SquareCap));
    painter.drawLines(strokes);
}

void drawDeviationLegend(QPainter &painter, const QRectF &row, const QColor &band, const QColor &ink)
{
    const QFontMetricsF metrics(painter.font());
    double x =
        drawLegendEntry(painter, row, row.left(), resultstext::kLegendYou, kSeriesColor, Swatch::Line, ink);
    x = drawLegendEntry(painter, row, x, resultstext::kLegendBand, band, Swatch::Box, ink);
    // The boundary's words shrink to the level alone where the row is short of room.
    const double swatch = metrics.height() * 1.5;
    const QString boundaryText =
        x + swatch + metrics.horizontalAdvance(resultstext::kLegendBoundary) <= row.right()
            ? resultstext::kLegendBoundary
            : resultstext::kLegendBoundaryShort;
    drawLegendEntry(painter, row, x, boundaryText, kBoundaryColor, Swatch::Dashes, ink);
}

void paintDeviation(QPainter &painter, const QRectF &rect, const ResultsData &data, const QFont &font,
                    const QPalette &palette)
{
    const QFontMetricsF metrics(font);
    const std::vector<std::int32_t> &hits = data.cumulativeHits;
    const QColor ink = palette.color(QPalette::WindowText);
    QColor grid = ink;
    grid.setAlphaF(0.15);
    QColor band = ink;
    band.setAlphaF(0.13);

    // One boundary point every few pixels; the y range holds the boundary at the last try, so the
    // distance still to go is on the chart.
    const std::vector<BoundaryPoint> boundary =
        evidenceBoundaryPoints(data, std::max(2, static_cast<int>(rect.width() / 3)));
    double reach = 0;
    if (!hits.empty()) {
        for (double value : {boundary.back().above, boundary.back().below})
            reach = std::isnan(value) ? reach : std::max(reach, std::abs(value));
    }
    const AxisRange range = deviationRange(hits, reach);
    const Frame frame = layOut(rect, metrics, widestLabel(metrics, range), !hits.empty());
    painter.setPen(ink);
    drawTitle(painter, frame, resultstext::kDeviationTitle, font);
    if (hits.empty()) {
        drawEmpty(painter, frame);
        return;
    }

    const double n = static_cast<double>(hits.size());
    const QRectF &plot = frame.plot;

    drawDeviationLegend(painter, frame.legend, band, ink);

    drawYAxis(painter, frame, range, resultstext::kDeviationAxisY, ink, grid);
    const double maxTicks =
        std::max(2.0, plot.width() / (metrics.horizontalAdvance(QLocale().toString(n)) * 1.6));
    const double xStep = std::max(1.0, niceStep(n, static_cast<int>(maxTicks)));
    painter.setPen(ink);
    for (double t : ticks(0, n, xStep))
        drawXLabel(painter, frame, plot.left() + t / n * plot.width(), QLocale().toString(t, 'f', 0));
    drawXTitle(painter, frame, resultstext::kDeviationAxisX);

    painter.save();
    painter.setClipRect(plot);
    const DeviationScale scale{plot, n, range};
    drawChanceBand(painter, scale, band, ink);
    drawEvidenceBoundary(painter, scale, boundary, std::max(1.5, metrics.height() / 10));
    drawDeviationSeries(painter, scale, hits, std::max(1.5, metrics.height() / 9));
    painter.restore();

    painter.setPen(QPen(ink, 0));
    painter.drawRect(plot);
}

void paintSpread(QPainter &painter, const QRectF &rect, const ResultsData &data, const QFont &font,
                 const QPalette &palette)
{
    const QFontMetricsF metrics(font);
    const QColor ink = palette.color(QPalette::WindowText);
    QColor grid = ink;
    grid.setAlphaF(0.15);
    const RunSpread &spread = data.spread;
    const bool empty = data.runs.isEmpty();

    double most = 0;
    for (int b = 0; b < kSpreadBins; ++b)
        most = std::max({most, static_cast<double>(spread.runs[b]), spread.chance[b]});
    AxisRange range;
    range.step = std::max(1.0, niceStep(most * 1.08, 5));
    // Headroom above the tallest bar, so it never touches the frame.
    range.high = std::max(range.step, std::ceil(most * 1.08 / range.step - 1e-9) * range.step);
    const Frame frame = layOut(rect, metrics, widestLabel(metrics, range), !empty);
    painter.setPen(ink);
    drawTitle(painter, frame, resultstext::kSpreadTitle, font);
    if (empty) {
        drawEmpty(painter, frame);
        return;
    }

    double x = drawLegendEntry(painter, frame.legend, frame.legend.left(), resultstext::kLegendRuns,
                               kSeriesColor, Swatch::Box, ink);
    drawLegendEntry(painter, frame.legend, x, QStringLiteral("Chance alone"), kChanceColor, Swatch::Outline,
                    ink);

    drawYAxis(painter, frame, range, resultstext::kSpreadAxisY, ink, grid);
    const QRectF &plot = frame.plot;
    const double binWidth = plot.width() / kSpreadBins;
    auto py = [&](double value) { return plot.bottom() - value / range.high * plot.height(); };

    // Every edge labelled where there is room, else every other one.
    const double labelWidth = metrics.horizontalAdvance(QStringLiteral("100%"));
    const int every = labelWidth * 1.3 < binWidth ? 1 : 2;
    painter.setPen(ink);
    for (int edge = 0; edge <= kSpreadBins; edge += every)
        drawXLabel(painter, frame, plot.left() + edge * binWidth,
                   QString::number(edge * 10) + QLatin1Char('%'));
    drawXTitle(painter, frame, resultstext::kSpreadAxisX);

    painter.save();
    painter.setClipRect(plot.adjusted(-metrics.height(), -metrics.height(), metrics.height(), 0));
    QColor bar = kSeriesColor;
    bar.setAlphaF(0.8);
    for (int b = 0; b < kSpreadBins; ++b) {
        if (spread.runs[b] == 0)
            continue;
        const double left = plot.left() + b * binWidth + binWidth * 0.12;
        painter.fillRect(
            QRectF(QPointF(left, py(spread.runs[b])), QPointF(left + binWidth * 0.76, plot.bottom())), bar);
    }
    // Chance as an outline over each tenth: a count per band like the bars, never a line that would
    // suggest values between the bands.
    const double pen = std::max(1.5, metrics.height() / 9);
    painter.setPen(QPen(kChanceColor, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    for (int b = 0; b < kSpreadBins; ++b) {
        const double top = py(spread.chance[b]);
        if (plot.bottom() - top < 0.5)
            continue;
        const double left = plot.left() + b * binWidth + binWidth * 0.08;
        painter.drawRect(QRectF(QPointF(left, top), QPointF(left + binWidth * 0.84, plot.bottom())));
    }
    painter.restore();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 0));
    painter.drawRect(plot);
}

} // namespace

double niceStep(double span, int maxTicks)
{
    if (!(span > 0) || maxTicks < 1)
        return 1;
    const double raw = span / maxTicks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * magnitude >= raw * (1 - 1e-12))
            return m * magnitude;
    }
    return 10 * magnitude;
}

std::vector<double> ticks(double low, double high, double step)
{
    std::vector<double> values;
    if (!(step > 0) || !(high >= low))
        return values;
    const double first = std::ceil(low / step - 1e-9);
    for (double k = first; k * step <= high + step * 1e-9; ++k)
        values.push_back(k * step == 0 ? 0.0 : k * step);
    return values;
}

AxisRange deviationRange(const std::vector<std::int32_t> &cumulativeHits, double alsoShow)
{
    double extent =
        std::max(alsoShow, kBand * std::sqrt(kVariancePerTry * static_cast<double>(cumulativeHits.size())));
    for (std::size_t i = 0; i < cumulativeHits.size(); ++i)
        extent = std::max(extent, std::abs(deviationAt(cumulativeHits, i)));
    extent = std::max(extent, 1.0) * 1.05;
    AxisRange range;
    range.step = niceStep(extent, 3);
    range.high = std::ceil(extent / range.step - 1e-9) * range.step;
    range.low = -range.high;
    return range;
}

void paintChart(QPainter &painter, const QRectF &rect, ChartKind kind, const ResultsData &data,
                const QFont &font, const QPalette &palette)
{
    painter.save();
    painter.fillRect(rect, palette.color(QPalette::Base));
    painter.setFont(font);
    switch (kind) {
    case ChartKind::Deviation:
        paintDeviation(painter, rect, data, font, palette);
        break;
    case ChartKind::Spread:
        paintSpread(painter, rect, data, font, palette);
        break;
    case ChartKind::Trend:
        paintTrend(painter, rect, data, font, palette);
        break;
    }
    painter.restore();
}

} // namespace results
