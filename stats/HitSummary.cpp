#include "HitSummary.h"

#include <algorithm>
#include <cmath>

namespace stats {

HitSummary summarize(std::int64_t tries, std::int64_t hits)
{
    HitSummary summary;
    summary.tries = std::max<std::int64_t>(tries, 0);
    summary.hits = std::clamp<std::int64_t>(hits, 0, summary.tries);
    const double n = double(summary.tries);
    summary.expectedHits = n * kChanceOfHit;
    summary.sd = std::sqrt(n * kChanceOfHit * (1.0 - kChanceOfHit));
    if (summary.sd > 0)
        summary.z = (double(summary.hits) - summary.expectedHits) / summary.sd;
    summary.pAtLeast = probabilityAtLeast(summary.tries, summary.hits);
    summary.pAtMost = probabilityAtMost(summary.tries, summary.hits);
    summary.ci95 = clopperPearson(summary.tries, summary.hits);
    summary.verdict = verdictSentence(summary.tries, summary.pAtLeast, summary.pAtMost);
    return summary;
}

QString verdictSentence(std::int64_t tries, double pAtLeast, double pAtMost)
{
    if (tries < kFewestTriesForVerdict)
        return kVerdictTooFew;
    if (pAtLeast < kVerdictLevel)
        return kVerdictAbove.arg(oddsText(pAtLeast));
    if (pAtMost < kVerdictLevel)
        return kVerdictBelow.arg(oddsText(pAtMost));
    return kVerdictWithinChance;
}

QString oddsText(double p)
{
    if (!(p >= kSmallestStatedProbability))
        return kOddsBeyondStated;
    return kOddsAbout.arg(readableCount(1.0 / p));
}

namespace {

// Whole number with a space between groups of three digits: 12 000.
QString groupedWhole(double value)
{
    QString digits = QString::number(value, 'f', 0);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u' ');
    return digits;
}

// Two significant digits, the trailing ".0" dropped: 3.4, 34, 340.
QString twoDigits(double value)
{
    if (value >= 10)
        return QString::number(value, 'f', 0);
    QString text = QString::number(value, 'f', 1);
    if (text.endsWith(QStringLiteral(".0")))
        text.chop(2);
    return text;
}

} // namespace

QString readableCount(double count)
{
    if (!std::isfinite(count))
        return QStringLiteral("10^300");
    if (count < 1)
        return QString::number(count, 'g', 2);
    // Rounded first, so 999 999 becomes "1 million" rather than "1 000 000".
    const double magnitude = std::pow(10.0, std::floor(std::log10(count)) - 1);
    const double rounded = std::round(count / magnitude) * magnitude;
    if (rounded < 1e6)
        return groupedWhole(rounded);
    struct Unit
    {
        double size;
        const char16_t *name;
    };
    for (const Unit unit : {Unit{1e6, u" million"}, Unit{1e9, u" billion"}, Unit{1e12, u" trillion"}}) {
        if (rounded < unit.size * 1000)
            return twoDigits(rounded / unit.size) + QString::fromUtf16(unit.name);
    }
    const int exponent = int(std::floor(std::log10(rounded)));
    return twoDigits(rounded / std::pow(10.0, exponent)) + QStringLiteral(" × 10^") +
           QString::number(exponent);
}

QString probabilityText(double p)
{
    if (!(p >= kSmallestStatedProbability))
        return QStringLiteral("< 1e-300");
    if (p >= 0.001)
        return QString::number(p, 'g', 3);
    return QString::number(p, 'e', 1);
}

} // namespace stats
