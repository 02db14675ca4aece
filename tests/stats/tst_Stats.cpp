// The statistics against values worked out independently: exact rational sums of binomial terms
// (big integers, no floating point until the final division) and direct high-precision sums.

#include "stats/Binomial.h"
#include "stats/ChiSquared.h"
#include "stats/HitSummary.h"

#include <QTest>

#include <boost/multiprecision/cpp_bin_float.hpp>
#include <boost/multiprecision/cpp_int.hpp>

#include <cmath>

namespace {

using boost::multiprecision::cpp_int;
using Precise = boost::multiprecision::cpp_bin_float_50;

// numerator / denominator as the nearest double, for ratios far below the smallest normal double too.
double ratio(const cpp_int &numerator, const cpp_int &denominator)
{
    if (numerator == 0)
        return 0;
    const long shift =
        long(boost::multiprecision::msb(denominator)) - long(boost::multiprecision::msb(numerator)) + 64;
    const cpp_int scaled = shift >= 0 ? cpp_int(numerator << shift) : cpp_int(numerator >> -shift);
    const cpp_int quotient = scaled / denominator;
    return std::ldexp(quotient.convert_to<double>(), int(-shift));
}

// P(X >= k) or P(X <= k) for one try in five, as sum of C(n,j) 4^(n-j) over 5^n in whole numbers.
double exactTail(int n, int k, bool atLeast)
{
    cpp_int term = cpp_int(1) << (2 * n); // C(n,0) 4^n
    cpp_int sum = 0;
    for (int j = 0; j <= n; ++j) {
        if (atLeast ? j >= k : j <= k)
            sum += term;
        if (j < n)
            term = term * (n - j) / (4 * (j + 1));
    }
    return ratio(sum, boost::multiprecision::pow(cpp_int(5), unsigned(n)));
}

// P(X >= k) for a hit chance p, summed term by term with 50 digits.
Precise preciseTailAtLeast(int n, int k, const Precise &p)
{
    Precise sum = 0;
    Precise binomial = 1;
    for (int j = 0; j <= n; ++j) {
        if (j >= k)
            sum += binomial * pow(p, j) * pow(1 - p, n - j);
        binomial = binomial * (n - j) / (j + 1);
    }
    return sum;
}

} // namespace

class StatsTest : public QObject
{
    Q_OBJECT

private slots:
    void tailsMatchExactSums_data();
    void tailsMatchExactSums();
    void summaryOfAPerfectRecordNeverSaysZero();
    void verdict_data();
    void verdict();
    void readableCount_data();
    void readableCount();
    void chiSquaredMatchesTable();
};

// Guards a wrong tail (P(X > k) given as "at least k"), lost digits deep in either tail, and an
// approximate (normal) interval sold as exact: at each bound of the interval the tail is exactly 2.5 %.
void StatsTest::tailsMatchExactSums_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("k");
    QTest::newRow("25 tries, 9 hits") << 25 << 9;
    QTest::newRow("25 tries, 10 hits") << 25 << 10;
    QTest::newRow("25 tries, no hit") << 25 << 0;
    QTest::newRow("25 tries, all hits") << 25 << 25;
    QTest::newRow("400 tries, 97 hits") << 400 << 97;
    QTest::newRow("1000 tries at chance") << 1000 << 200;
    QTest::newRow("2000 tries, tail near 1e-294") << 2000 << 1150;
    QTest::newRow("2000 tries, far below chance") << 2000 << 150;
    QTest::newRow("32767 tries, above chance") << 32767 << 6800;
    QTest::newRow("32767 tries, below chance") << 32767 << 6300;
}

void StatsTest::tailsMatchExactSums()
{
    QFETCH(int, n);
    QFETCH(int, k);
    for (const bool atLeast : {true, false}) {
        const double exact = exactTail(n, k, atLeast);
        const double computed = atLeast ? stats::probabilityAtLeast(n, k) : stats::probabilityAtMost(n, k);
        QVERIFY2(exact > 1e-300, "reference below the stated range");
        QVERIFY2(std::abs(computed - exact) <= 1e-9 * exact,
                 qPrintable(QStringLiteral("%1: %2 instead of %3")
                                .arg(atLeast ? QStringLiteral("at least") : QStringLiteral("at most"))
                                .arg(computed, 0, 'g', 17)
                                .arg(exact, 0, 'g', 17)));
    }

    const stats::Interval interval = stats::clopperPearson(n, k);
    QVERIFY(0 <= interval.low && interval.low < double(k) / n + 1e-12);
    QVERIFY(double(k) / n - 1e-12 < interval.high && interval.high <= 1);
    if (k == 0)
        QCOMPARE(interval.low, 0.0);
    else
        QVERIFY(abs(preciseTailAtLeast(n, k, Precise(interval.low)) - Precise(0.025)) < Precise(1e-10));
    if (k == n)
        QCOMPARE(interval.high, 1.0);
    else
        QVERIFY(abs(1 - preciseTailAtLeast(n, k + 1, Precise(interval.high)) - Precise(0.025)) <
                Precise(1e-10));
}

// Guards a probability of 5^-32767 (far below any double) shown as 0 or as certainty.
void StatsTest::summaryOfAPerfectRecordNeverSaysZero()
{
    const stats::HitSummary summary = stats::summarize(32767, 32767);
    QVERIFY(summary.pAtLeast < stats::kSmallestStatedProbability);
    QCOMPARE(summary.pAtMost, 1.0);
    QCOMPARE(stats::probabilityText(summary.pAtLeast), QStringLiteral("< 1e-300"));
    QCOMPARE(summary.verdict,
             QStringLiteral("Chance alone scores this well or better less than 1 time in 10^300."));
    QVERIFY(summary.ci95.low > 0.9998 && summary.ci95.high == 1.0);
}

// Guards the verdict's thresholds and which tail it names.
void StatsTest::verdict_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("24 tries, all hits") << 24 << 24 << QStringLiteral("Too few tries to tell yet.");
    QTest::newRow("25 tries, 8 hits") << 25 << 8 << QStringLiteral("This is within what chance alone gives.");
    QTest::newRow("25 tries, 9 hits")
        << 25 << 9 << QStringLiteral("Chance alone scores this well or better only about 1 time in 21.");
    QTest::newRow("25 tries, 10 hits")
        << 25 << 10 << QStringLiteral("Chance alone scores this well or better only about 1 time in 58.");
    QTest::newRow("25 tries, 1 hit") << 25 << 1
                                     << QStringLiteral(
                                            "Chance alone scores this low or lower only about 1 time in 37.");
    QTest::newRow("100 tries, 10 hits")
        << 100 << 10 << QStringLiteral("Chance alone scores this low or lower only about 1 time in 180.");
}

void StatsTest::verdict()
{
    QFETCH(int, n);
    QFETCH(int, k);
    QFETCH(QString, sentence);
    QCOMPARE(stats::summarize(n, k).verdict, sentence);
}

void StatsTest::readableCount_data()
{
    QTest::addColumn<double>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("tens") << 21.38 << QStringLiteral("21");
    QTest::newRow("hundreds") << 579.6 << QStringLiteral("580");
    QTest::newRow("thousands") << 12345.0 << QStringLiteral("12 000");
    QTest::newRow("rounds up into millions") << 999999.0 << QStringLiteral("1 million");
    QTest::newRow("millions") << 3.4e6 << QStringLiteral("3.4 million");
    QTest::newRow("hundreds of millions") << 3.449e8 << QStringLiteral("340 million");
    QTest::newRow("billions") << 2.7e10 << QStringLiteral("27 billion");
    QTest::newRow("beyond trillions") << 1.23e18 << QStringLiteral("1.2 × 10^18");
}

void StatsTest::readableCount()
{
    QFETCH(double, count);
    QFETCH(QString, text);
    QCOMPARE(stats::readableCount(count), text);
}

// Guards the goodness-of-fit figures: with 4 degrees of freedom the tail is exactly e^(-x/2) (1 + x/2).
void StatsTest::chiSquaredMatchesTable()
{
    const stats::ChiSquaredTest even = stats::chiSquaredUniform({100, 100, 100, 100, 100});
    QCOMPARE(even.statistic, 0.0);
    QCOMPARE(even.p, 1.0);
    QCOMPARE(even.degreesOfFreedom, 4);
    const stats::ChiSquaredTest skewed = stats::chiSquaredUniform({120, 80, 100, 100, 100});
    QCOMPARE(skewed.statistic, 8.0);
    QVERIFY(std::abs(skewed.p - 5 * std::exp(-4.0)) < 1e-15);
}

QTEST_GUILESS_MAIN(StatsTest)
#include "tst_Stats.moc"
