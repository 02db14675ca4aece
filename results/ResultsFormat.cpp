#include "ResultsFormat.h"

#include "ResultsTexts.h"

#include "stats/HitSummary.h"

#include <cmath>

namespace results {

QString formatPercent(double percent, const QLocale &locale)
{
    return locale.toString(percent, 'f', 1) + QLatin1Char('%');
}

QString formatNumber(double value, int decimals, const QLocale &locale)
{
    return locale.toString(value, 'f', decimals);
}

QList<SummaryLine> summaryLines(const ResultsData &data, const QLocale &locale)
{
    using namespace resultstext;
    const stats::HitSummary &o = data.whole;
    QList<SummaryLine> lines{
        {kTries, locale.toString(o.tries)},
        {kHits, locale.toString(o.hits)},
        {kAccuracy,
         o.tries > 0 ? formatPercent(accuracyPercent(o.tries, o.hits), locale) : QStringLiteral("-")},
        {kChanceGives, formatNumber(o.expectedHits, 1, locale) + QStringLiteral(" \u00b1 ") +
                           formatNumber(o.sd, 1, locale) + QStringLiteral(" hits")},
        {kZ, o.tries > 0 ? formatNumber(o.z, 2, locale) : QStringLiteral("-")},
        {kPAtLeast, o.tries > 0 ? stats::probabilityText(o.pAtLeast) : QStringLiteral("-")},
        {kInterval, o.tries == 0 ? QStringLiteral("-")
                                 : formatPercent(100 * o.ci95.low, locale) + QStringLiteral(" to ") +
                                       formatPercent(100 * o.ci95.high, locale)},
    };
    if (data.beforeHistoryTries > 0) {
        lines.append({kBeforeHistory, locale.toString(data.beforeHistoryTries) + QStringLiteral(" tries, ") +
                                          locale.toString(data.beforeHistoryHits) + QStringLiteral(" hits")});
    }
    return lines;
}

QString headline(const ResultsData &data)
{
    if (!data.problem.isEmpty())
        return data.problem;
    return data.whole.tries == 0 ? resultstext::kNoTries : data.whole.verdict;
}

QString summaryText(const ResultsData &data, const QLocale &locale)
{
    QStringList text{resultstext::kTitlePrefix + data.userName, headline(data)};
    for (const SummaryLine &line : summaryLines(data, locale))
        text << line.label + QStringLiteral(": ") + line.value;
    return text.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString suggestedFileName(const QString &userName, const QDate &date, const QString &extension,
                          const QString &what)
{
    QString name = userName;
    for (QChar &c : name) {
        // '/' would lead into a folder, the rest trip up other desktops' file systems and shells.
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control ||
            QStringLiteral(":*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    QString file = QStringLiteral("qxOrvanta-") + name;
    if (!what.isEmpty())
        file += QLatin1Char('-') + what;
    return file + QLatin1Char('-') + date.toString(Qt::ISODate) + QLatin1Char('.') + extension;
}

} // namespace results
