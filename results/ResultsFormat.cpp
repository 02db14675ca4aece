#include "ResultsFormat.h"

#include "ResultsTexts.h"

#include "stats/Binomial.h"
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

QString countText(std::int64_t count, const QString &one, const QString &many, const QLocale &locale)
{
    return locale.toString(qint64(count)) + u' ' + (count == 1 ? one : many);
}

QString triesText(std::int64_t tries, const QLocale &locale)
{
    return countText(tries, QStringLiteral("try"), QStringLiteral("tries"), locale);
}

QString hitsText(std::int64_t hits, const QLocale &locale)
{
    return countText(hits, QStringLiteral("hit"), QStringLiteral("hits"), locale);
}

QString chanceWords(double p)
{
    using namespace resultstext;
    if (!(p >= stats::kSmallestStatedProbability))
        return kChanceOneIn.arg(QStringLiteral("10^300"))
            .replace(QStringLiteral("about"), QStringLiteral("less than"));
    if (p >= 0.95)
        return kChanceNearlyAlways;
    if (p >= 0.45)
        return kChanceTenths.arg(std::lround(p * 10));
    return kChanceOneIn.arg(stats::readableCount(1.0 / p));
}

QString evidenceText(double log10E)
{
    return stats::evidenceCountText(log10E);
}

QString evidenceVerdict(const ResultsData &data)
{
    return stats::evidenceVerdict(data.whole.tries, data.evidence, &evidenceText);
}

QString trendText(const ResultsData &data)
{
    return data.trend.sentence.isEmpty() ? stats::kTrendTooFew : data.trend.sentence;
}

QString trendChanceText(const ResultsData &data)
{
    return data.trend.enough ? resultstext::kTrendChance.arg(chanceWords(data.trend.p)) : QString();
}

namespace {

// The exploratory scores: looked at together, so each p is shown beside its Holm-adjusted p; the
// guess against the card just seen is a habit (the user saw that card), so it gets no p at all.
void appendSecondary(QList<SummaryLine> &lines, const ResultsData &data, const QLocale &locale)
{
    using namespace resultstext;
    const stats::SecondaryScores &s = data.secondary;
    lines.append({kTrendHolm, stats::probabilityText(s.trendPHolm)});
    if (s.plus1.tries > 0)
        lines.append({kPlus1, kPlus1Value.arg(
                                  locale.toString(qint64(s.plus1.hits)), triesText(s.plus1.tries, locale),
                                  stats::probabilityText(s.plus1.p), stats::probabilityText(s.plus1.pHolm))});
    if (s.variance.runs > 0)
        lines.append(
            {kVariance, kVarianceValue.arg(
                            formatNumber(s.variance.chi2, 1, locale),
                            countText(s.variance.runs, QStringLiteral("run"), QStringLiteral("runs"), locale),
                            stats::probabilityText(s.variance.p), stats::probabilityText(s.variance.pHolm))});
    if (s.minus1.tries > 0) {
        const double expected = double(s.minus1.tries) * stats::kChanceOfHit;
        QString value =
            kMinus1Value.arg(locale.toString(qint64(s.minus1.hits)), triesText(s.minus1.tries, locale),
                             formatNumber(expected, 1, locale));
        // Following the card just seen shows as clearly more matches than chance gives.
        if (stats::probabilityAtLeast(s.minus1.tries, s.minus1.hits) < 0.05)
            value += kMinus1Habit;
        lines.append({kMinus1, value});
    }
}

} // namespace

QList<SummaryLine> summaryLines(const ResultsData &data, const QLocale &locale)
{
    using namespace resultstext;
    const stats::HitSummary &o = data.whole;
    const bool figures = o.tries > 0 && data.totals.consistent; // no figure from totals that disagree
    const QString none = QStringLiteral("-");
    QList<SummaryLine> lines{
        {kTries, locale.toString(o.tries)},
        {kHits, locale.toString(o.hits)},
        {kAccuracy, o.tries > 0 ? formatPercent(accuracyPercent(o.tries, o.hits), locale) : none},
        {kEvidence, figures ? kEvidenceValue.arg(evidenceText(data.evidence.log10Value),
                                                 evidenceText(data.log10EvidencePeak))
                            : none},
        {kChanceGives, formatNumber(o.expectedHits, 1, locale) + QStringLiteral(" \u00b1 ") +
                           formatNumber(o.sd, 1, locale) + QStringLiteral(" hits")},
        {kPAtLeast,
         figures ? kChanceWithP.arg(chanceWords(o.pAtLeast), stats::probabilityText(o.pAtLeast)) : none},
        {kZ, figures ? formatNumber(o.z, 2, locale) : none},
        {kInterval, o.tries == 0 ? none
                                 : formatPercent(100 * o.ci95.low, locale) + QStringLiteral(" to ") +
                                       formatPercent(100 * o.ci95.high, locale)},
        {kTrend, trendText(data)},
    };
    appendSecondary(lines, data, locale);
    if (data.beforeHistoryTries > 0) {
        lines.append({kBeforeHistory, triesText(data.beforeHistoryTries, locale) + QStringLiteral(", ") +
                                          hitsText(data.beforeHistoryHits, locale)});
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
                                             : evidenceVerdict(data);
    if (data.invalidTries > 0)
        text += u'\n' + (data.invalidTries == 1
                             ? resultstext::kInvalidTry
                             : resultstext::kInvalidTries.arg(locale.toString(data.invalidTries)));
    return text;
}

QString summaryText(const ResultsData &data, const QLocale &locale)
{
    QStringList text{resultstext::kSummaryTitle.arg(data.userName, hitsText(data.whole.hits, locale),
                                                    triesText(data.whole.tries, locale)),
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
