#pragma once

#include "ChartPainter.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QFontMetricsF;
class QPainter;

// What every chart of the Results window shares: the frame (title and legend on top, the plot, tick
// labels and axis titles), the legend entries and the axes.
namespace results {

// Decimals that show every tick of this step (0 for whole steps).
int decimalsFor(double step);

struct Frame
{
    QRectF title;
    QRectF legend;
    QRectF plot;
};

// The frame inside rect; withAxes leaves room for tick labels as wide as yLabelWidth (pixels).
Frame layOut(const QRectF &rect, const QFontMetricsF &metrics, double yLabelWidth, bool withAxes);
void drawTitle(QPainter &painter, const Frame &frame, const QString &title, const QFont &font);
// The empty-record sentence across the plot.
void drawEmpty(QPainter &painter, const Frame &frame);

// A legend entry's swatch: a line, a dashed line, a filled box, an outlined one or a dot.
enum class Swatch
{
    Line,
    Dashes,
    Box,
    Outline,
    Dot,
};
// Draws a legend entry (swatch and text) at x in row; returns where the next one starts.
double drawLegendEntry(QPainter &painter, const QRectF &row, double x, const QString &text,
                       const QColor &color, Swatch swatch, const QColor &ink);

void drawYAxis(QPainter &painter, const Frame &frame, const AxisRange &range, const QString &title,
               const QColor &ink, const QColor &grid);
void drawXTitle(QPainter &painter, const Frame &frame, const QString &title);
void drawXLabel(QPainter &painter, const Frame &frame, double x, const QString &label);
// The widest tick label of the range.
double widestLabel(const QFontMetricsF &metrics, const AxisRange &range);

} // namespace results
