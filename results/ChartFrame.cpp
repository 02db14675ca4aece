#include "ChartFrame.h"

#include "ResultsTexts.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace results {

int decimalsFor(double step)
{
    return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

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
    case Swatch::Dashes:
        painter.setPen(QPen(color, pen, Qt::DashLine, Qt::FlatCap));
        painter.drawLine(QPointF(x, mid), QPointF(x + width, mid));
        break;
    case Swatch::Box:
        painter.fillRect(box, color);
        break;
    case Swatch::Dot:
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(QPointF(box.center()), box.height() / 2, box.height() / 2);
        painter.setBrush(Qt::NoBrush);
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

} // namespace results
