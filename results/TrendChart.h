#pragma once

#include "ResultsData.h"

#include <QFont>
#include <QPalette>
#include <QRectF>

class QPainter;

namespace results {

// "Am I improving?" as a picture: one dot per run at its hit rate, in time order, its area growing
// with its tries; chance's 20 % dashed across; the trend fitted to the runs (weighted by tries) as a
// solid line, the same line whose slope the trend test judges.
void paintTrend(QPainter &painter, const QRectF &rect, const ResultsData &data, const QFont &font,
                const QPalette &palette);

} // namespace results
