#include "ChartWidget.h"

#include "ResultsFormat.h"
#include "ResultsTexts.h"

#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace results {

ChartWidget::ChartWidget(ChartKind kind, QWidget *parent) : QWidget(parent), m_kind(kind)
{
    setAccessibleName(chartTitle(kind));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Every paint covers the whole widget, so what lies behind it never needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_soon.setSingleShot(true);
    m_soon.setInterval(kSoonMs);
    connect(&m_soon, &QTimer::timeout, this, &ChartWidget::dataChanged);
}

void ChartWidget::setData(const ResultsData *data)
{
    m_data = data;
    dataChanged();
}

void ChartWidget::dataChangedSoon()
{
    if (!m_soon.isActive())
        m_soon.start();
}

void ChartWidget::dataChanged()
{
    m_soon.stop();
    setAccessibleDescription(m_data ? chartDescription(m_kind, *m_data) : QString());
    update();
}

QSize ChartWidget::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 22, line * 14};
}

QSize ChartWidget::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 12, line * 9};
}

void ChartWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    static const ResultsData kEmpty;
    paintChart(painter, rect(), m_kind, m_data ? *m_data : kEmpty, font(), palette());
}

QString chartStamp(ChartKind kind, const ResultsData &data, const QDate &date)
{
    QString stamp = data.userName + QStringLiteral(", ") + date.toString(Qt::ISODate) + QStringLiteral(": ");
    if (kind == ChartKind::Trend)
        stamp += trendText(data) + u' ';
    return stamp + headline(data, QLocale::c());
}

namespace {

// A saved chart leaves the window: the account, the date and the verdict go under it, so the picture
// never travels without what it stands for.
void paintSaved(QPainter &painter, const QRectF &area, ChartKind kind, const ResultsData &data,
                const QFont &font, const QPalette &palette, const QString &stamp)
{
    const QFontMetricsF metrics(font);
    // As many lines as the stamp takes at this width, and a little room around them.
    const qreal footer =
        metrics.boundingRect(area.adjusted(6, 0, -6, 0), Qt::AlignLeft | Qt::TextWordWrap, stamp).height() +
        metrics.height() * 0.8;
    painter.fillRect(area, palette.color(QPalette::Base));
    paintChart(painter, area.adjusted(0, 0, 0, -footer), kind, data, font, palette);
    painter.setFont(font);
    painter.setPen(palette.color(QPalette::Text));
    painter.drawText(area.adjusted(6, area.height() - footer, -6, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, stamp);
}

} // namespace

bool saveChartFile(const QString &path, ChartKind kind, const ResultsData &data, const QSize &size,
                   qreal devicePixelRatio, const QFont &font, const QPalette &palette)
{
    QByteArray bytes;
    const QRectF area(QPointF(0, 0), QSizeF(size));
    const QString stamp = chartStamp(kind, data, QDate::currentDate());
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QBuffer buffer(&bytes);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(area);
        svg.setTitle(chartTitle(kind));
        svg.setDescription(stamp + u'\n' + chartDescription(kind, data));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        paintSaved(painter, area, kind, data, font, palette, stamp);
        painter.end();
    } else {
        QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(devicePixelRatio);
        image.setText(QStringLiteral("Description"), stamp);
        QPainter painter(&image);
        paintSaved(painter, area, kind, data, font, palette, stamp);
        painter.end();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace results
