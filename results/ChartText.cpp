#include "ChartPainter.h"

#include "ChartSeries.h"
#include "ResultsFormat.h"
#include "ResultsTexts.h"

#include "stats/Binomial.h"

#include <QLocale>

#include <cmath>

// The charts in words: their titles, and what each shows for screen readers and saved SVG files.
namespace results {

QString chartTitle(ChartKind kind)
{
    switch (kind) {
    case ChartKind::Deviation:
        return resultstext::kDeviationTitle;
    case ChartKind::Spread:
        return resultstext::kSpreadTitle;
    case ChartKind::Trend:
        break;
    }
    return resultstext::kTrendTitle;
}

namespace {

QString deviationDescription(const ResultsData &data, const QLocale &locale)
{
    const double n = data.recordedTries();
    const double deviation = data.cumulativeHits.back() - n * stats::kChanceOfHit;
    const double band = stats::kBand95Z * std::sqrt(stats::kVariancePerTry * n);
    return QStringLiteral("After %1: %2 hits above chance, %3 chance's 95 % band of \u00b1%4.")
        .arg(triesText(data.recordedTries(), locale), formatNumber(deviation, 1, locale),
             std::abs(deviation) <= band ? QStringLiteral("inside") : QStringLiteral("outside"),
             formatNumber(band, 1, locale));
}

QString trendDescription(const ResultsData &data, const QLocale &locale)
{
    const qsizetype runs = data.runs.size();
    const QString counted = countText(runs, QStringLiteral("run"), QStringLiteral("runs"), locale);
    if (!trendLine(data).shown)
        return counted + QLatin1Char('.');
    const double perRun = 100 * data.trend.slope;
    return resultstext::kTrendDescription.arg(counted, (perRun > 0 ? QStringLiteral("+") : QString()) +
                                                           formatNumber(perRun, 2, locale));
}

} // namespace

QString chartDescription(ChartKind kind, const ResultsData &data)
{
    const QLocale locale;
    if (kind == ChartKind::Deviation)
        return data.cumulativeHits.empty() ? resultstext::kNoTries : deviationDescription(data, locale);
    if (data.runs.isEmpty())
        return resultstext::kNoTries;
    if (kind == ChartKind::Trend)
        return trendDescription(data, locale);
    QStringList bins;
    for (int b = 0; b < kSpreadBins; ++b) {
        if (data.spread.runs[b] > 0 || data.spread.chance[b] >= 0.05) {
            bins << QStringLiteral("%1 to %2%: %3, chance %4")
                        .arg(b * 10)
                        .arg(b * 10 + 10)
                        .arg(countText(data.spread.runs[b], QStringLiteral("run"), QStringLiteral("runs"),
                                       locale),
                             formatNumber(data.spread.chance[b], 1, locale));
        }
    }
    return bins.join(QStringLiteral("; ")) + QLatin1Char('.');
}

} // namespace results
