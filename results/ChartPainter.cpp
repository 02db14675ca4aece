#include "ChartPainter.h"

#include "ResultsFormat.h"
#include "ResultsTexts.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace results {

namespace {

// Chance alone: p = 1/5, so the variance of the hits after n tries is n * 0.16.
constexpr double kChance = 0.2;
constexpr double kVariancePerTry = kChance * (1 - kChance);
constexpr double kBand = 1.96;

const QColor kSeriesColor(31, 111, 180);
const QColor kChanceColor(200, 90, 0);

double deviationAt(const std::vector<std::int32_t> &cumulativeHits, std::size_t index)
{
    return cumulativeHits[index] - static_cast<double>(index + 1) * kChance;
}

int decimalsFor(double step)
{
    return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

// The frame every chart shares: title and legend on top, the plot, tick labels and axis titles.
struct Frame
{
    QRectF title;
    QRectF legend;
    QRectF plot;
};

Frame layOut(const QRectF &rect, const QFontMetricsF &metrics, double yLabelWidth, bool withAxes)
{
    const double line = metrics.height();
    const double pad = line * 0.5;
    Frame frame;
    frame.title = QRectF(rect.left() + pad, rect.top() + pad * 0.5, rect.width() - 2 * pad, line * 1.3);
    frame.legend = QRectF(rect.left() + pad, frame.title.bottom(), rect.width() - 2 * pad, line * 1.2);
    if (!withAxes) {
        frame.plot = QRectF(rect.left() + pad, frame.legend.top(), rect.width() - 2 * pad,
                            rect.bottom() - pad - frame.legend.top());
        return frame;
    }
    const double left = rect.left() + pad + line + yLabelWidth + pad * 0.6;
    const double right = rect.right() - pad - metrics.horizontalAdvance(QStringLiteral("0000")) / 2;
    const double top = frame.legend.bottom() + pad * 0.5;
    const double bottom = rect.bottom() - pad * 0.5 - 2 * line - pad * 0.4;
    frame.plot = QRectF(QPointF(left, top), QPointF(std::max(left + 1, right), std::max(top + 1, bottom)));
    return frame;
}

void drawTitle(QPainter &painter, const Frame &frame, const QString &title, const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(frame.title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetricsF(bold).elidedText(title, Qt::ElideRight, frame.title.width()));
    painter.setFont(font);
}

void drawEmpty(QPainter &painter, const Frame &frame)
{
    painter.drawText(frame.plot, Qt::AlignCenter | Qt::TextWordWrap, resultstext::kNoTries);
}

// A legend entry: a swatch (a line, a filled box or an outlined one) and its text; returns where the
// next one starts.
enum class Swatch
{
    Line,
    Box,
    Outline,
};
double drawLegendEntry(QPainter &painter, const QRectF &row, double x, const QString &text,
                       const QColor &color, Swatch swatch, const QColor &ink)
{
    const QFontMetricsF metrics(painter.font());
    const double width = metrics.height() * 1.2;
    const double mid = row.center().y();
    const QRectF box(x, mid - metrics.height() * 0.3, width, metrics.height() * 0.6);
    const double pen = std::max(1.5, metrics.height() / 8);
    switch (swatch) {
    case Swatch::Line:
        painter.setPen(QPen(color, pen));
        painter.drawLine(QPointF(x, mid), QPointF(x + width, mid));
        break;
    case Swatch::Box:
        painter.fillRect(box, color);
        break;
    case Swatch::Outline:
        painter.setPen(QPen(color, pen));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
        break;
    }
    painter.setPen(ink);
    const double textLeft = x + width + metrics.height() * 0.3;
    painter.drawText(QPointF(textLeft, mid + (metrics.ascent() - metrics.descent()) / 2), text);
    return textLeft + metrics.horizontalAdvance(text) + metrics.height();
}

void drawYAxis(QPainter &painter, const Frame &frame, const AxisRange &range, const QString &title,
               const QColor &ink, const QColor &grid)
{
    const QFontMetricsF metrics(painter.font());
    const QLocale locale;
    const int decimals = decimalsFor(range.step);
    for (double value : ticks(range.low, range.high, range.step)) {
        const double y =
            frame.plot.bottom() - (value - range.low) / (range.high - range.low) * frame.plot.height();
        painter.setPen(QPen(grid, 0));
        painter.drawLine(QPointF(frame.plot.left(), y), QPointF(frame.plot.right(), y));
        painter.setPen(ink);
        const QString label = locale.toString(value, 'f', decimals);
        const QRectF box(frame.plot.left() - metrics.horizontalAdvance(label) - metrics.height() * 0.3,
                         y - metrics.height() / 2, metrics.horizontalAdvance(label), metrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.save();
    // Turned a quarter left, the title reads upwards along the left edge of the chart.
    painter.translate(frame.title.left(), frame.plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-frame.plot.height() / 2, 0, frame.plot.height(), metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, title);
    painter.restore();
}

void drawXTitle(QPainter &painter, const Frame &frame, const QString &title)
{
    const QFontMetricsF metrics(painter.font());
    painter.drawText(QRectF(frame.plot.left(), frame.plot.bottom() + metrics.height() * 1.1,
                            frame.plot.width(), metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, title);
}

void drawXLabel(QPainter &painter, const Frame &frame, double x, const QString &label)
{
    const QFontMetricsF metrics(painter.font());
    const double width = metrics.horizontalAdvance(label);
    painter.drawText(
        QRectF(x - width / 2, frame.plot.bottom() + metrics.height() * 0.15, width, metrics.height()),
        Qt::AlignHCenter | Qt::AlignTop, label);
}

double widestLabel(const QFontMetricsF &metrics, const AxisRange &range)
{
    const QLocale locale;
    double widest = 0;
    for (double value : ticks(range.low, range.high, range.step))
        widest =
            std::max(widest, metrics.horizontalAdvance(locale.toString(value, 'f', decimalsFor(range.step))));
    return widest;
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

    const AxisRange range = deviationRange(hits);
    const Frame frame = layOut(rect, metrics, widestLabel(metrics, range), !hits.empty());
    painter.setPen(ink);
    drawTitle(painter, frame, resultstext::kDeviationTitle, font);
    if (hits.empty()) {
        drawEmpty(painter, frame);
        return;
    }

    const double n = static_cast<double>(hits.size());
    const QRectF &plot = frame.plot;
    auto px = [&](double tries) { return plot.left() + tries / n * plot.width(); };
    auto py = [&](double value) {
        return plot.bottom() - (value - range.low) / (range.high - range.low) * plot.height();
    };

    double x = drawLegendEntry(painter, frame.legend, frame.legend.left(), QStringLiteral("You"),
                               kSeriesColor, Swatch::Line, ink);
    drawLegendEntry(painter, frame.legend, x, QStringLiteral("95 % of chance"), band, Swatch::Box, ink);

    drawYAxis(painter, frame, range, resultstext::kDeviationAxisY, ink, grid);
    const double maxTicks =
        std::max(2.0, plot.width() / (metrics.horizontalAdvance(QLocale().toString(n)) * 1.6));
    const double xStep = std::max(1.0, niceStep(n, static_cast<int>(maxTicks)));
    painter.setPen(ink);
    for (double t : ticks(0, n, xStep))
        drawXLabel(painter, frame, px(t), QLocale().toString(t, 'f', 0));
    drawXTitle(painter, frame, resultstext::kDeviationAxisX);

    painter.save();
    painter.setClipRect(plot);
    // Chance's band, one point per few pixels: its edge is a smooth square root. Filled without
    // smoothing: a faint grey edge shows no steps, and smoothing a shape this large costs more than
    // the rest of the chart.
    const int steps = std::max(2, static_cast<int>(plot.width() / 3));
    QPolygonF bandShape;
    for (int i = 0; i <= steps; ++i) {
        const double t = n * i / steps;
        bandShape << QPointF(px(t), py(kBand * std::sqrt(kVariancePerTry * t)));
    }
    for (int i = steps; i >= 0; --i) {
        const double t = n * i / steps;
        bandShape << QPointF(px(t), py(-kBand * std::sqrt(kVariancePerTry * t)));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(band);
    painter.drawPolygon(bandShape);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 0, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), py(0)), QPointF(plot.right(), py(0)));
    painter.setRenderHint(QPainter::Antialiasing);

    // The series: a line through every try where each has a pixel column of its own; else, per
    // column, one upright stroke from the lowest to the highest value the column's tries reach (and
    // the previous column's last value, so the strokes join). That draws the same picture as the
    // full line at a small part of its cost: a stroked line of thousands of zigzags is slow.
    const QPen pen(kSeriesColor, std::max(1.5, metrics.height() / 9), Qt::SolidLine, Qt::RoundCap,
                   Qt::RoundJoin);
    painter.setPen(pen);
    const int columns = std::max(1, static_cast<int>(std::ceil(plot.width())));
    if (hits.size() <= static_cast<std::size_t>(columns)) {
        QPolygonF line;
        line << QPointF(px(0), py(0));
        for (std::size_t i = 0; i < hits.size(); ++i)
            line << QPointF(px(static_cast<double>(i + 1)), py(deviationAt(hits, i)));
        painter.drawPolyline(line);
    } else {
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
            strokes.append(QLineF(x, py(low), x, py(high)));
        }
        // Upright strokes need no smoothing, and drawn without it cost a fraction.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(kSeriesColor, std::round(pen.widthF()), Qt::SolidLine, Qt::SquareCap));
        painter.drawLines(strokes);
    }
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

    double x = drawLegendEntry(painter, frame.legend, frame.legend.left(), QStringLiteral("Your runs"),
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

AxisRange deviationRange(const std::vector<std::int32_t> &cumulativeHits)
{
    double extent = kBand * std::sqrt(kVariancePerTry * static_cast<double>(cumulativeHits.size()));
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
    if (kind == ChartKind::Deviation)
        paintDeviation(painter, rect, data, font, palette);
    else
        paintSpread(painter, rect, data, font, palette);
    painter.restore();
}

QString chartDescription(ChartKind kind, const ResultsData &data)
{
    const QLocale locale;
    if (kind == ChartKind::Deviation) {
        if (data.cumulativeHits.empty())
            return resultstext::kNoTries;
        const double n = data.recordedTries();
        const double deviation = data.cumulativeHits.back() - n * kChance;
        const double band = kBand * std::sqrt(kVariancePerTry * n);
        return QStringLiteral(
                   "After %1 recorded tries: %2 hits above chance, %3 chance's 95 % band of \u00b1%4.")
            .arg(locale.toString(data.recordedTries()), formatNumber(deviation, 1, locale),
                 std::abs(deviation) <= band ? QStringLiteral("inside") : QStringLiteral("outside"),
                 formatNumber(band, 1, locale));
    }
    if (data.runs.isEmpty())
        return resultstext::kNoTries;
    QStringList bins;
    for (int b = 0; b < kSpreadBins; ++b) {
        if (data.spread.runs[b] > 0 || data.spread.chance[b] >= 0.05) {
            bins << QStringLiteral("%1 to %2%: %3 runs, chance %4")
                        .arg(b * 10)
                        .arg(b * 10 + 10)
                        .arg(data.spread.runs[b])
                        .arg(formatNumber(data.spread.chance[b], 1, locale));
        }
    }
    return bins.join(QStringLiteral("; ")) + QLatin1Char('.');
}

} // namespace results
