// Evidence, series, trend and exploratory scores against exact rational (Python fractions) and 40-digit
// (mpmath) values pinned here; and pure chance simulated, looked at after every try.

#include "stats/Binomial.h"
#include "stats/Evidence.h"
#include "stats/Secondary.h"
#include "stats/Series.h"
#include "stats/Trend.h"

#include <QTest>

#include <array>
#include <cmath>
#include <random>

namespace {

bool near(double value, double expected, double relative)
{
    return std::abs(value - expected) <= relative * std::abs(expected);
}

QString seen(double value, double expected)
{
    return QStringLiteral("%1 instead of %2").arg(value, 0, 'g', 17).arg(expected, 0, 'g', 17);
}

} // namespace

class EvidenceTest : public QObject
{
    Q_OBJECT

private slots:
    void evidenceMatchesExactSums();
    void log10TailsStayFiniteInTheDeepTail();
    void verdict();
    void trackKeepsCurrentAndPeak();
    void boundaryIsWhereEvidenceReachesTwenty();
    void pureChanceRarelyReachesTwentyHoweverOftenLooked();
    void seriesPlanAndPowerMatchExactSums();
    void seriesResultCountsUntriedAsMisses();
    void trendOverRuns();
    void secondaryScoresStayWithinRuns();
};

// Guards a wrong weight or rate in either mixture, lost digits, and an overflow or a 0 on long records.
void EvidenceTest::evidenceMatchesExactSums()
{
    struct Row
    {
        const char *name;
        int n, k;
        double log10Above, log10Below, log10E;
    };
    for (const Row &row :
         {Row{"9 of 25: E 1.569", 25, 9, 0.454211829130760, -0.534544106340840, std::log10(1.56894897962934)},
          Row{"24 of 24: E 840 578", 24, 24, 6.22560798645692, -1.49204154799275,
              std::log10(840577.961005463)},
          Row{"230 of 1000: E 3.03", 1000, 230, 0.782252112572560, -2.66478627843945,
              std::log10(3.02954380952696)},
          Row{"260 of 1000: E 4 438", 1000, 260, 3.94826342367336, -4.35922716423798,
              std::log10(4438.47144465486)},
          Row{"70 of 500: E 62.4 below", 500, 70, -2.22834853912060, 2.09641750191742,
              std::log10(62.4321175662845)},
          Row{"32 767 of 32 767: E 10^9862.549", 32767, 32767, 9862.84986792167, -1499.73363321031,
              9862.54883792601}}) {
        const stats::Evidence e = stats::evidence(row.n, row.k);
        // 1e-9 on the logarithm: E itself to nine digits, however large.
        QVERIFY2(std::abs(e.log10Above - row.log10Above) < 1e-9 &&
                     std::abs(e.log10Below - row.log10Below) < 1e-9 &&
                     std::abs(e.log10Value - row.log10E) < 1e-9,
                 qPrintable(QLatin1String(row.name) + u' ' + seen(e.log10Value, row.log10E)));
        QCOMPARE(e.above(), row.log10Above >= row.log10Below);
    }
}

// Guards the JSON's log10 tails turning into -inf (or a wrong tail) once a tail is below any double.
void EvidenceTest::log10TailsStayFiniteInTheDeepTail()
{
    struct Row
    {
        int n, k;
        bool atLeast;
        double log10Tail;
    };
    for (const Row row :
         {Row{2000, 1160, true, -302.971883830414984}, Row{32767, 32767, true, -22903.150132078328},
          Row{32767, 0, false, -3175.450396234984529}, Row{25, 9, true, std::log10(0.046774242177772846)}}) {
        const double computed = row.atLeast ? stats::log10ProbabilityAtLeast(row.n, row.k)
                                            : stats::log10ProbabilityAtMost(row.n, row.k);
        QVERIFY2(std::abs(computed - row.log10Tail) < 1e-9, qPrintable(seen(computed, row.log10Tail)));
    }
}

// Guards the verdict's thresholds, the side it names, and E written in words past a double's range.
void EvidenceTest::verdict()
{
    const QString later = QStringLiteral(" However long you play and whenever you look, chance alone gets "
                                         "this far at most 1 time in %1.");
    const QString above = QStringLiteral("Above chance: evidence %1 to 1.") + later;
    struct Row
    {
        int n, k;
        QString sentence;
    };
    for (const Row &row :
         {Row{10, 5, QStringLiteral("Too few tries to tell yet.")},
          Row{25, 9,
              QStringLiteral("This is within what chance alone gives (evidence against chance: 1.6 to 1).")},
          Row{24, 24, above.arg(QStringLiteral("840 000"))}, // before 25 tries, yet far from chance
          Row{500, 70,
              QStringLiteral("Below chance (psi-missing): evidence 62 to 1.") +
                  later.arg(QStringLiteral("62"))},
          Row{32767, 32767, above.arg(QStringLiteral("3.5 × 10^9862"))}})
        QCOMPARE(stats::evidenceVerdict(row.n, stats::evidence(row.n, row.k)), row.sentence);
}

// Guards the order of evaluation (the block once, then each try) and a peak lost once E falls back;
// and JSON that meets an infinity or a false 0.
void EvidenceTest::trackKeepsCurrentAndPeak()
{
    stats::EvidenceTrack track;
    QCOMPARE(track.log10Peak(), 0.0); // E = 1 before any try
    track.addBlock(24, 24);
    for (int i = 0; i < 1000; ++i)
        track.addTry(i % 5 == 4); // chance's own rate: E falls back
    QVERIFY(track.tries() == 1024 && track.hits() == 224 &&
            track.current().log10Value == stats::evidence(1024, 224).log10Value);
    QVERIFY(std::abs(track.log10Peak() - std::log10(840577.961005463)) < 1e-9);

    QCOMPARE(stats::jsonCount(std::log10(840577.961005463)).toDouble(), 840577.961005463);
    QCOMPARE(stats::jsonCount(9862.5).toString(), QStringLiteral("> 1e300"));
    QCOMPARE(stats::jsonCount(-1499.7).toString(), QStringLiteral("< 1e-300"));
}

// Guards a chart boundary that disagrees with the verdict: checked against exact sums at several
// lengths, on both sides, and where no count of hits reaches 20 yet; the search at one length agrees.
void EvidenceTest::boundaryIsWhereEvidenceReachesTwenty()
{
    const std::vector<stats::EvidenceBoundary> points = stats::evidenceBoundary(1000);
    QCOMPARE(points.size(), std::size_t(1001));
    struct Row
    {
        int n;
        double upperHits; // NaN: none
        double lowerHits;
    };
    const double none = std::nan("");
    for (const Row row : {Row{8, none, none}, Row{9, 9, none}, Row{13, 10, none}, Row{25, 14, none},
                          Row{32, 16, none}, Row{33, 16, 0}, Row{100, 34, 8}, Row{1000, 240, 161}}) {
        const stats::EvidenceBoundary &point = points[std::size_t(row.n)];
        const double expected = row.n / 5.0;
        QVERIFY2(std::isnan(row.upperHits) ? std::isnan(point.above)
                                           : std::abs(point.above - (row.upperHits - expected)) < 1e-9,
                 qPrintable(QStringLiteral("above at %1: %2").arg(row.n).arg(point.above)));
        QVERIFY2(std::isnan(row.lowerHits) ? std::isnan(point.below)
                                           : std::abs(point.below - (row.lowerHits - expected)) < 1e-9,
                 qPrintable(QStringLiteral("below at %1: %2").arg(row.n).arg(point.below)));
    }
    // The chart's search at one length finds what the walk over every length found.
    const auto same = [](double a, double b) { return std::isnan(a) ? std::isnan(b) : a == b; };
    for (std::size_t n = 0; n < points.size(); ++n) {
        const stats::EvidenceBoundary alone = stats::evidenceBoundaryAt(std::int64_t(n));
        QVERIFY2(same(points[n].above, alone.above) && same(points[n].below, alone.below),
                 qPrintable(QStringLiteral("at %1: %2 %3").arg(n).arg(alone.above).arg(alone.below)));
    }
}

// Guards the claim the headline rests on: looked at after every try, pure chance reaches E = 20 in at
// most 1 lifetime in 20. 2 000 lifetimes of 5 000 tries, seeded; the allowance is three standard
// errors of the simulation's own sampling of a 5 % rate. Some do reach it (not an E stuck near 1).
void EvidenceTest::pureChanceRarelyReachesTwentyHoweverOftenLooked()
{
    constexpr int kLifetimes = 2000;
    constexpr int kTries = 5000;
    std::mt19937_64 generator(20240601);
    const double level = std::log10(stats::kEvidenceLevel);
    int reached = 0;
    for (int lifetime = 0; lifetime < kLifetimes; ++lifetime) {
        stats::EvidenceTrack track;
        bool said = false; // every draw taken even after E reached 20: the benchmark's lifetimes exactly
        for (int t = 0; t < kTries; ++t) {
            track.addTry(generator() % 5 == 0);
            said = said || track.current().log10Value >= level;
        }
        reached += said ? 1 : 0;
    }
    const double rate = double(reached) / kLifetimes;
    const double allowance = 3 * std::sqrt(0.05 * 0.95 / kLifetimes);
    QVERIFY2(rate <= 0.05 + allowance && reached > 0,
             qPrintable(QStringLiteral("%1 of %2 lifetimes").arg(reached).arg(kLifetimes)));
}

// Guards the planner's search (power is not monotone in the length, so the first length counts), the
// critical count and the power the planner shows (25 and 100 tries at 22, 25, 30 %); exact sums.
void EvidenceTest::seriesPlanAndPowerMatchExactSums()
{
    struct Plan
    {
        double rate;
        int tries;
        double power, powerOneShorter;
    };
    for (const Plan row : {Plan{0.25, 433, 0.80447606620239109, 0.796870861482828},
                           Plan{0.30, 116, 0.8072757904479397, 0.7908029267030535},
                           Plan{0.40, 35, 0.8048254965693624, 0.7669190467161084},
                           Plan{0.22, 2560, 0.8004465391505255, 0.7975226330501329}}) {
        const stats::SeriesPlan plan = stats::planSeries(row.rate);
        QCOMPARE(plan.tries, row.tries);
        QVERIFY2(near(plan.achievedPower, row.power, 1e-9), qPrintable(seen(plan.achievedPower, row.power)));
        QVERIFY(near(stats::seriesPower(row.tries - 1, row.rate), row.powerOneShorter, 1e-9));
    }
    QCOMPARE(stats::planSeries(0.2).tries, 0); // chance itself: no length ever has the power
    const std::array<double, 3> rates{0.22, 0.25, 0.30};
    const std::array<double, 3> power25{0.078846211906468525, 0.14943767038437894, 0.32307187489713218};
    const std::array<double, 3> power100{0.094533980838324094, 0.27761948688466132, 0.70363383944225666};
    QVERIFY(stats::criticalHits(25) == 9 && stats::criticalHits(100) == 28);
    for (std::size_t i = 0; i < rates.size(); ++i)
        QVERIFY(near(stats::seriesPower(25, rates[i]), power25[i], 1e-9) &&
                near(stats::seriesPower(100, rates[i]), power100[i], 1e-9));
}

// Guards an early end that helps the player: the untried tries are misses over the declared length.
void EvidenceTest::seriesResultCountsUntriedAsMisses()
{
    const stats::SeriesResult full = stats::seriesResult(25, 25, 9);
    QVERIFY(full.reached && !full.psiMissing);
    QCOMPARE(full.verdict,
             QStringLiteral("Chance alone scores this well or better only about 1 time in 21."));

    const stats::SeriesResult early = stats::seriesResult(25, 5, 5); // 5 of 5, then ended
    QCOMPARE(early.missesAdded, 20);
    QVERIFY(!early.reached);
    QCOMPARE(early.verdict, QStringLiteral("This is within what chance alone gives."));

    QCOMPARE(stats::seriesResult(100, 100, 10).verdict,
             QStringLiteral("Chance alone scores this low or lower only about 1 time in 180 (psi-missing)."));
    QCOMPARE(stats::seriesTally(3, 40),
             QStringLiteral("3 of 40 series reached the 1-in-20 level; chance alone gives about 2."));
}

// Guards the trend statistic and its fitted line against a hand-worked example (runs of 10, 20, 30,
// 40 tries with 1, 4, 9, 14 hits: xbar = 3, sum h (x - xbar) = 8, sum n (x - xbar)^2 = 100,
// pq = 0.2016, z = 8 / sqrt(20.16), line 0.04 + 0.08 x), a run without tries left out of the
// scoring, both directions, and the thresholds.
void EvidenceTest::trendOverRuns()
{
    const auto check = [](const char *name, const std::vector<stats::RunCount> &runs, double z, double p,
                          const QString &sentence) {
        const stats::TrendTest trend = stats::trendOverRuns(runs);
        return trend.sentence == sentence && std::abs(trend.z - z) < 1e-12 && near(trend.p, p, 1e-9)
                   ? QString()
                   : QLatin1String(name) + u' ' + trend.sentence + u' ' + seen(trend.z, z);
    };
    const std::vector<stats::RunCount> worked{{10, 1}, {20, 4}, {0, 0}, {30, 9}, {40, 14}};
    const QString tooFew = QStringLiteral("Too few runs to tell yet.");
    for (const QString &fault :
         {check("hand-worked", worked, 1.7817416127494959, 0.074791377586944195,
                QStringLiteral("No clear trend over your runs (p = 0.0748).")),
          check("rising", {{100, 10}, {100, 20}, {100, 40}}, 5.0155039131781754, 5.2894647939941183e-7,
                QStringLiteral("Your hit rate rises over your runs (p = 5.3e-07).")),
          check("falling", {{100, 40}, {100, 20}, {100, 10}}, -5.0155039131781754, 5.2894647939941183e-7,
                QStringLiteral("Your hit rate falls over your runs (p = 5.3e-07).")),
          check("two runs", {{100, 10}, {100, 40}}, 0, 1, tooFew),
          check("49 tries", {{20, 1}, {20, 4}, {9, 9}}, 0, 1, tooFew)})
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    const stats::TrendTest line = stats::trendOverRuns(worked);
    QVERIFY(line.runs == 4 && near(line.slope, 0.08, 1e-12) && near(line.intercept, 0.04, 1e-12));
}

// Guards a displacement counted across two runs (the last guess of one against the first target of
// the next), the variance's degrees of freedom, and Holm's step-down on a textbook example.
void EvidenceTest::secondaryScoresStayWithinRuns()
{
    // Each guess names the card dealt next; the last guess is a hit.
    const stats::RunTries run{{2, 1}, {3, 2}, {4, 3}, {5, 4}, {1, 5}, {1, 1}};
    const stats::SecondaryScores scores = stats::secondaryScores({run, run}, 1.0);
    QVERIFY(scores.plus1.tries == 10 && scores.plus1.hits == 10);
    QVERIFY(near(scores.plus1.p, 2 * std::pow(0.2, 10), 1e-9));
    QVERIFY(scores.minus1.tries == 10 && scores.minus1.hits == 0);
    // Two runs of 6 with 1 hit: chi-squared 2 (1 - 1.2)^2 / 0.96 on 2 degrees of freedom, tail e^(-x/2).
    QVERIFY(scores.variance.runs == 2 && near(scores.variance.chi2, 0.08 / 0.96, 1e-12) &&
            near(scores.variance.p, 0.9591894571091382, 1e-12));
    QVERIFY(near(scores.plus1.pHolm, 3 * 2 * std::pow(0.2, 10), 1e-9));
    QVERIFY(scores.variance.pHolm == 1.0 && scores.trendPHolm == 1.0);

    const std::vector<double> holm = stats::holmAdjusted({0.01, 0.04, 0.03});
    QVERIFY(near(holm[0], 0.03, 1e-12) && near(holm[1], 0.06, 1e-12) && near(holm[2], 0.06, 1e-12));
}

QTEST_GUILESS_MAIN(EvidenceTest)
#include "tst_Evidence.moc"
