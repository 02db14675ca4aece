// "Is it fair?" without a screen: the user's targets counted and tested against fair drawing, with
// statistics and p-values computed independently (exact rationals, p to 50 digits with mpmath).
#include "results/FairTargets.h"

#include "history/HistoryTypes.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace results;
using history::Game;
using history::TryRecord;
using Counts = std::array<std::int64_t, 5>;
using Layout = std::array<std::int8_t, 5>;

namespace {

TryRecord plain(int target)
{
    TryRecord recorded;
    recorded.target = target;
    return recorded;
}

TryRecord hidden(const Layout &layout, int target)
{
    TryRecord recorded;
    recorded.game = Game::FindHidden;
    recorded.layout = layout;
    recorded.target = target;
    return recorded;
}

Layout rotated(int by)
{
    Layout layout{};
    for (int position = 0; position < 5; ++position)
        layout[size_t(position)] = std::int8_t((position + by) % 5 + 1);
    return layout;
}

// NaN where no test is made.
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

void compareTest(const std::optional<stats::ChiSquaredTest> &test, double statistic, double p)
{
    QCOMPARE(test.has_value(), !std::isnan(statistic));
    if (!test)
        return;
    QVERIFY(qAbs(test->statistic - statistic) <= 1e-12 * qMax(1.0, statistic));
    QVERIFY2(qAbs(test->p - p) <= 1e-10 * p, qPrintable(QString::number(test->p, 'g', 17)));
}

} // namespace

class tst_FairTargets : public QObject
{
    Q_OBJECT

private slots:
    // Guards the counts and both tests, the positions-by-face table's 4/5 scaling included: a plain
    // table statistic would read 500 and 50/3 where 400 and 40/3 are right.
    void countsAndTestsMatchIndependentFigures_data()
    {
        QTest::addColumn<std::vector<TryRecord>>("tries");
        QTest::addColumn<Counts>("faces");
        QTest::addColumn<Counts>("matches");
        QTest::addColumn<double>("faceStatistic");
        QTest::addColumn<double>("faceP");
        QTest::addColumn<double>("tableStatistic");
        QTest::addColumn<double>("tableP");
        QTest::addColumn<QString>("opening");

        std::vector<TryRecord> favoured;
        for (int i = 0; i < 30; ++i)
            favoured.push_back(plain(i < 10 ? 1 : (i - 10) % 4 + 2));
        QTest::newRow("plain game, face 1 ten times in 30")
            << favoured << Counts{10, 5, 5, 5, 5} << Counts{} << 10.0 / 3
            << 0.50366827423349823589481678700744551729375210592402 << kNone << kNone
            << QStringLiteral("Each face came up about equally often");

        std::vector<TryRecord> oneOrder;
        for (int i = 0; i < 25; ++i)
            oneOrder.push_back(hidden(rotated(0), i % 5 + 1));
        QTest::newRow("find-hidden, the same order dealt every time")
            << oneOrder << Counts{5, 5, 5, 5, 5} << Counts{5, 5, 5, 5, 5} << 0.0 << 1.0 << 400.0
            << 3.6414553939373008344525162330129126605088493851459e-75
            << QStringLiteral("Each face came up about equally often");

        std::vector<TryRecord> mixed;
        for (int i = 0; i < 25; ++i)
            mixed.push_back(hidden(rotated(i % 5), i % 5 + 1));
        for (int i = 0; i < 5; ++i)
            mixed.push_back(hidden({2, 1, 3, 4, 5}, i % 3 + 1));
        mixed.push_back(hidden({1, 1, 2, 3, 4}, 1)); // not a deal: left to the row checks
        mixed.push_back(plain(0));
        QTest::newRow("find-hidden, rotations and one swap, impossible rows left out")
            << mixed << Counts{7, 7, 6, 5, 5} << Counts{27, 2, 1, 0, 0} << 2.0 / 3
            << 0.95537508076505233390080546256717288993748274642864 << 40.0 / 3
            << 0.64824714172723662816283248810230085764118723199588
            << QStringLiteral("Each face came up about equally often");

        std::vector<TryRecord> few(12, plain(3));
        few.push_back(hidden(rotated(1), 2));
        QTest::newRow("too few tries to judge")
            << few << Counts{0, 1, 12, 0, 0} << Counts{1, 0, 0, 0, 0} << kNone << kNone << kNone << kNone
            << QStringLiteral("Too few tries to judge yet (13;");
    }
    void countsAndTestsMatchIndependentFigures()
    {
        QFETCH(std::vector<TryRecord>, tries);
        QFETCH(Counts, faces);
        QFETCH(Counts, matches);
        QFETCH(double, faceStatistic);
        QFETCH(double, faceP);
        QFETCH(double, tableStatistic);
        QFETCH(double, tableP);
        QFETCH(QString, opening);

        const TargetCounts counts = countTargets(tries);
        QCOMPARE(counts.faces, faces);
        QCOMPARE(counts.matchPositions, matches);
        compareTest(faceTest(counts), faceStatistic, faceP);
        compareTest(positionTest(counts), tableStatistic, tableP);
        const QString text = targetsText(counts, QLocale::c());
        QVERIFY2(text.startsWith(opening), qPrintable(text));
        // A table that fair deals would give less than one time in 1 000 is called so.
        QCOMPARE(text.contains(QStringLiteral("less than one time in 1 000")), tableP < 0.001);
    }
};

QTEST_GUILESS_MAIN(tst_FairTargets)
#include "tst_FairTargets.moc"
