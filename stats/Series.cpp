#include "Series.h"

#include "Binomial.h"
#include "HitSummary.h"

#include <boost/math/distributions/binomial.hpp>

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

// The psi-missing verdict names itself: scoring far below chance is a result too.
const QString kSeriesBelow = QStringLiteral("Chance alone scores this low or lower %1 (psi-missing).");
const QString kSeriesTally =
    QStringLiteral("%1 of %2 series reached the 1-in-20 level; chance alone gives about %3.");

bool reachesLevel(std::int64_t n, std::int64_t k, double alpha)
{
    return probabilityAtLeast(n, k) <= alpha;
}

// P(X >= c) and P(X = c - 1) for n tries with hit chance p, moved one try or one hit at a time by the
// ratios of neighbouring binomial terms: the planner's search then costs a few operations per length
// instead of two incomplete beta functions. Set afresh from Boost.Math every kResync tries so that
// rounding cannot gather; callers confirm decisions close to a threshold with the exact tail.
class RunningTail
{
public:
    explicit RunningTail(double p) : m_p(p) { resync(); }
    double tail() const { return m_tail; }
    void addTry()
    {
        ++m_n;
        if (m_n % kResync == 0)
            return resync();
        m_tail += m_p * m_below;
        m_below *= double(m_n) / double(m_n - m_c + 1) * (1 - m_p);
    }
    void raise()
    {
        m_below *= double(m_n - m_c + 1) / double(m_c) * m_p / (1 - m_p);
        m_tail = std::max(0.0, m_tail - m_below);
        ++m_c;
    }

private:
    static constexpr std::int64_t kResync = 1024;
    void resync()
    {
        m_tail = probabilityAtLeast(m_n, m_c, m_p);
        m_below =
            boost::math::pdf(boost::math::binomial_distribution<double>(double(m_n), m_p), double(m_c - 1));
    }

    double m_p;
    std::int64_t m_n = 1;
    std::int64_t m_c = 1;
    double m_tail = 0;
    double m_below = 0;
};

// Closer than this (relative) to a threshold, the running figure is checked with the exact tail.
constexpr double kConfirmBand = 1e-6;

} // namespace

std::int64_t criticalHits(std::int64_t n, double alpha)
{
    // The upper tail falls as k grows: bisect for the first k at or under alpha.
    std::int64_t low = 0;
    std::int64_t high = std::max<std::int64_t>(n, 0) + 1;
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        if (middle <= n && reachesLevel(n, middle, alpha))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

double seriesPower(std::int64_t n, double rate, double alpha)
{
    const std::int64_t critical = criticalHits(n, alpha);
    return critical > n ? 0.0 : probabilityAtLeast(n, critical, rate);
}

SeriesPlan planSeries(double rate, double alpha, double power)
{
    if (!(rate > kChanceOfHit && rate <= 1 && alpha > 0 && alpha < 1 && power > 0 && power < 1))
        return {};
    // The critical count never falls as n grows and rises by at most one per try, so it is carried
    // from one n to the next instead of searched afresh.
    std::int64_t critical = 1;
    RunningTail chance(kChanceOfHit);
    RunningTail alternative(rate);
    for (std::int64_t n = 1; n <= kMostPlannedTries; ++n) {
        if (n > 1) {
            chance.addTry();
            alternative.addTry();
        }
        while (critical <= n) {
            const double tail = chance.tail();
            const bool reached = std::abs(tail - alpha) > kConfirmBand * alpha
                                     ? tail <= alpha
                                     : reachesLevel(n, critical, alpha);
            if (reached)
                break;
            chance.raise();
            alternative.raise();
            ++critical;
        }
        if (critical > n || alternative.tail() < power * (1 - kConfirmBand))
            continue;
        const double achieved = probabilityAtLeast(n, critical, rate);
        if (achieved >= power)
            return {n, achieved};
    }
    return {};
}

SeriesResult seriesResult(std::int64_t length, std::int64_t tried, std::int64_t hits)
{
    SeriesResult result;
    result.length = std::max<std::int64_t>(length, 0);
    result.tried = std::clamp<std::int64_t>(tried, 0, result.length);
    result.hits = std::clamp<std::int64_t>(hits, 0, result.tried);
    result.missesAdded = result.length - result.tried;
    result.pAtLeast = probabilityAtLeast(result.length, result.hits);
    result.pAtMost = probabilityAtMost(result.length, result.hits);
    result.reached = result.pAtLeast < kSeriesLevel;
    result.psiMissing = result.pAtMost < kSeriesLevel;
    if (result.reached)
        result.verdict = kVerdictAbove.arg(oddsText(result.pAtLeast));
    else if (result.psiMissing)
        result.verdict = kSeriesBelow.arg(oddsText(result.pAtMost));
    else
        result.verdict = kVerdictWithinChance;
    return result;
}

QString seriesTally(int reached, int series)
{
    return kSeriesTally.arg(reached).arg(series).arg(QString::number(series * kSeriesLevel, 'g', 2));
}

} // namespace stats
