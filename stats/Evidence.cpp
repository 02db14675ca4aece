#include "Evidence.h"

#include "Binomial.h"
#include "HitSummary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace stats {

namespace {

// One side's mixture: for each alternative hit rate, ln of its weight and what one hit and one miss
// multiply its likelihood ratio by (as natural logarithms).
struct Mixture
{
    std::array<double, 4> logWeight;
    std::array<double, 4> logHit;
    std::array<double, 4> logMiss;
};

Mixture mixture(const std::array<double, 4> &rates)
{
    constexpr std::array<double, 4> kWeights{0.4, 0.3, 0.2, 0.1};
    Mixture m{};
    for (std::size_t j = 0; j < rates.size(); ++j) {
        m.logWeight[j] = std::log(kWeights[j]);
        m.logHit[j] = std::log(rates[j] / kChanceOfHit);
        m.logMiss[j] = std::log((1 - rates[j]) / (1 - kChanceOfHit));
    }
    return m;
}

const Mixture &aboveMixture()
{
    static const Mixture m = mixture({0.22, 0.25, 0.30, 0.40});
    return m;
}

const Mixture &belowMixture()
{
    static const Mixture m = mixture({0.18, 0.15, 0.10, 0.05});
    return m;
}

// ln of a sum of exponentials, scaled by the largest so that nothing overflows or vanishes.
template <std::size_t N> double logSumExp(const std::array<double, N> &logs)
{
    const double largest = *std::max_element(logs.begin(), logs.end());
    double sum = 0;
    for (const double value : logs)
        sum += std::exp(value - largest);
    return largest + std::log(sum);
}

double logMixture(const Mixture &m, double hits, double misses)
{
    std::array<double, 4> logs{};
    for (std::size_t j = 0; j < logs.size(); ++j)
        logs[j] = m.logWeight[j] + hits * m.logHit[j] + misses * m.logMiss[j];
    return logSumExp(logs);
}

const double kLn10 = std::log(10.0);
const double kLog10Level = std::log10(kEvidenceLevel);

bool reachesLevel(std::int64_t n, std::int64_t k)
{
    return evidence(n, k).log10Value >= kLog10Level;
}

} // namespace

Evidence evidence(std::int64_t tries, std::int64_t hits)
{
    const std::int64_t n = std::max<std::int64_t>(tries, 0);
    const std::int64_t k = std::clamp<std::int64_t>(hits, 0, n);
    const double lnAbove = logMixture(aboveMixture(), double(k), double(n - k));
    const double lnBelow = logMixture(belowMixture(), double(k), double(n - k));
    const double lnValue = logSumExp(std::array<double, 2>{lnAbove, lnBelow}) - std::log(2.0);
    return {lnAbove / kLn10, lnBelow / kLn10, lnValue / kLn10};
}

void EvidenceTrack::addBlock(std::int64_t tries, std::int64_t hits)
{
    if (tries <= 0)
        return;
    m_tries += tries;
    m_hits += std::clamp<std::int64_t>(hits, 0, tries);
    evaluate();
}

void EvidenceTrack::addTry(bool hit)
{
    ++m_tries;
    m_hits += hit ? 1 : 0;
    evaluate();
}

void EvidenceTrack::evaluate()
{
    // E depends on the order of the tries only through which points it is evaluated at, so each point
    // is one closed-form evaluation rather than a product carried along (which would gather rounding).
    m_current = evidence(m_tries, m_hits);
    m_log10Peak = std::max(m_log10Peak, m_current.log10Value);
}

QString evidenceCountText(double log10Count)
{
    if (log10Count < -2)
        return QStringLiteral("less than 0.01");
    if (log10Count < 1)
        return QString::number(std::pow(10.0, log10Count), 'g', 2);
    if (log10Count < 300)
        return readableCount(std::pow(10.0, log10Count));
    // Beyond a double: mantissa and exponent from the logarithm itself, rounded to two digits.
    double exponent = std::floor(log10Count);
    double mantissa = std::round(std::pow(10.0, log10Count - exponent) * 10) / 10;
    if (mantissa >= 10) {
        mantissa /= 10;
        exponent += 1;
    }
    QString digits = QString::number(mantissa, 'f', 1);
    if (digits.endsWith(QStringLiteral(".0")))
        digits.chop(2);
    return digits + QStringLiteral(" × 10^") + QString::number(exponent, 'f', 0);
}

QString evidenceVerdict(std::int64_t tries, const Evidence &e, const CountFormat &format)
{
    const QString value = format(e.log10Value);
    if (e.log10Value < kLog10Level)
        return tries < kFewestTriesForVerdict ? kEvidenceTooFew : kEvidenceWithinChance.arg(value);
    return (e.above() ? kEvidenceAbove : kEvidenceBelow).arg(value);
}

QJsonValue jsonCount(double log10Count)
{
    if (!(log10Count < 300))
        return QStringLiteral("> 1e300");
    if (log10Count < -300)
        return QStringLiteral("< 1e-300");
    return std::pow(10.0, log10Count);
}

std::vector<EvidenceBoundary> evidenceBoundary(std::int64_t maxTries)
{
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    std::vector<EvidenceBoundary> points;
    points.reserve(std::size_t(std::max<std::int64_t>(maxTries, 0) + 1));
    // Each boundary moves by about one hit per try, so walking from the previous one costs a few
    // evaluations per try rather than a search.
    std::int64_t upper = 0;  // fewest hits at or above chance that reach the level; n + 1 for none
    std::int64_t lower = -1; // most hits at or below chance that reach the level; -1 for none
    for (std::int64_t n = 0; n <= maxTries; ++n) {
        const std::int64_t chanceCeil = (n + 4) / 5;
        const std::int64_t chanceFloor = n / 5;
        upper = std::max(upper, chanceCeil);
        while (upper > chanceCeil && reachesLevel(n, upper - 1))
            --upper;
        while (upper <= n && !reachesLevel(n, upper))
            ++upper;
        lower = std::min(lower, chanceFloor);
        while (lower < chanceFloor && reachesLevel(n, lower + 1))
            ++lower;
        while (lower >= 0 && !reachesLevel(n, lower))
            --lower;
        const double expected = double(n) * kChanceOfHit;
        points.push_back(
            {upper <= n ? double(upper) - expected : kNone, lower >= 0 ? double(lower) - expected : kNone});
    }
    return points;
}

EvidenceBoundary evidenceBoundaryAt(std::int64_t tries)
{
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    const std::int64_t n = std::max<std::int64_t>(tries, 0);
    const double expected = double(n) * kChanceOfHit;
    EvidenceBoundary point{kNone, kNone};
    // Beyond chance E only grows with the distance from it, so on each side the counts that reach the
    // level are one unbroken stretch out to the end: a bisection finds where it starts.
    std::int64_t low = (n + 4) / 5; // a count below the level on the upper side, once checked
    std::int64_t high = n;          // a count that reaches it
    if (reachesLevel(n, high)) {
        if (reachesLevel(n, low))
            high = low;
        while (high - low > 1) {
            const std::int64_t mid = low + (high - low) / 2;
            (reachesLevel(n, mid) ? high : low) = mid;
        }
        point.above = double(high) - expected;
    }
    low = 0;      // a count that reaches the level on the lower side
    high = n / 5; // one below it, once checked
    if (reachesLevel(n, low)) {
        if (reachesLevel(n, high))
            low = high;
        while (high - low > 1) {
            const std::int64_t mid = low + (high - low) / 2;
            (reachesLevel(n, mid) ? low : high) = mid;
        }
        point.below = double(low) - expected;
    }
    return point;
}

} // namespace stats
