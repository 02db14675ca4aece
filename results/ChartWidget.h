#pragma once

#include "ChartPainter.h"

#include <QTimer>
#include <QWidget>

namespace results {

// One chart of a record, drawn with QPainter (paintChart); the record belongs to the window, which
// calls update() on it after every change. Readable at any scale: sizes follow the widget's font.
class ChartWidget : public QWidget
{
    Q_OBJECT
public:
    ChartWidget(ChartKind kind, QWidget *parent = nullptr);

    ChartKind kind() const { return m_kind; }
    // The record to draw; it must outlive the widget or be replaced first.
    void setData(const ResultsData *data);
    // Redraws and tells screen readers what the chart shows now.
    void dataChanged();
    // The same a moment later, once for any number of calls until then: the update after each
    // counted try leaves the charts to the pause after the guess, when nobody waits on a paint.
    void dataChangedSoon();
    static constexpr int kSoonMs = 150;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ChartKind m_kind;
    const ResultsData *m_data = nullptr;
    QTimer m_soon;
};

// Saves a chart as a PNG (drawn at the given pixel density) or, for a name ending in .svg, as SVG.
// The file is written whole or not at all.
// What a saved chart carries under it (and in its file's description): "ACCOUNT, YYYY-MM-DD: verdict",
// the trend chart with the trend sentence before the verdict.
QString chartStamp(ChartKind kind, const ResultsData &data, const QDate &date);
bool saveChartFile(const QString &path, ChartKind kind, const ResultsData &data, const QSize &size,
                   qreal devicePixelRatio, const QFont &font, const QPalette &palette);

} // namespace results
