#include "ResultsFormat.h"

#include "ResultsTexts.h"

#include "stats/HitSummary.h"

#include <QStringList>

#include <cmath>
#include <cstdlib>

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
    if (!data.totals.consistent) {
        // No tail or z stands for totals the record contradicts.
        lines[4].value = lines[5].value = QStringLiteral("-");
    }
    if (data.beforeHistoryTries > 0) {
        lines.append({kBeforeHistory, locale.toString(data.beforeHistoryTries) + QStringLiteral(" tries, ") +
                                          locale.toString(data.beforeHistoryHits) + QStringLiteral(" hits")});
    }
    return lines;
}

QString disagreementText(const ResultsData &data, const QLocale &locale)
{
    using namespace resultstext;
    const history::TotalsCheck &check = data.totals;
    QStringList parts;
    if (check.triesOff != 0 || check.beforeHits > check.beforeTries)
        parts << kDisagreement.arg(kTries, locale.toString(check.storedTries),
                                   locale.toString(check.explainedTries),
                                   locale.toString(std::abs(check.triesOff)));
    if (check.hitsOff != 0)
        parts << kDisagreement.arg(kHits, locale.toString(check.storedHits),
                                   locale.toString(check.explainedHits),
                                   locale.toString(std::abs(check.hitsOff)));
    return kTotalsDisagree.arg(parts.join(QStringLiteral("; ")));
}

QString headline(const ResultsData &data, const QLocale &locale)
{
    if (!data.problem.isEmpty())
        return data.problem;
    QString text = data.whole.tries == 0     ? resultstext::kNoTries
                   : !data.totals.consistent ? disagreementText(data, locale)
                                             : data.whole.verdict;
    if (data.invalidTries > 0)
        text += u'\n' + (data.invalidTries == 1
                             ? resultstext::kInvalidTry
                             : resultstext::kInvalidTries.arg(locale.toString(data.invalidTries)));
    return text;
}

QString summaryText(const ResultsData &data, const QLocale &locale)
{
    QStringList text{resultstext::kSummaryTitle.arg(data.userName, locale.toString(data.whole.hits),
                                                    locale.toString(data.whole.tries)),
                     headline(data, locale)};
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
