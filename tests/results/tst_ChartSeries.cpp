// What the charts plot, without a screen: the evidence boundary where the verdict says, and the
// trend chart's dots and fitted line.
#include "results/ChartSeries.h"
#include "results/ResultsFormat.h"

#include "tests/results/ResultsTestSupport.h"

#include <QTest>

#include <cmath>

using namespace results;
using resultstest::recordOfRuns;

using Runs = QList<std::pair<int, int>>;

class tst_ChartSeries : public QObject
{
    Q_OBJECT

private slots:
    void boundaryAgreesWithTheEvidence_data()
    {
        QTest::addColumn<Runs>("runs");
        QTest::addColumn<int>("blockTries");
        QTest::addColumn<int>("blockHits");
        QTest::addColumn<bool>("reachedAtEnd");
        QTest::newRow("well above chance") << Runs{{60, 24}, {60, 24}, {60, 24}} << 0 << 0 << true;
        QTest::newRow("at chance") << Runs{{100, 20}, {100, 20}} << 0 << 0 << false;
        QTest::newRow("well below chance") << Runs{{150, 5}, {150, 5}} << 0 << 0 << true;
        // 13 hits in 40 tries before the history: the evidence starts at 1.6, not at 1.
        QTest::newRow("tries before the history") << Runs{{40, 15}, {40, 15}} << 40 << 13 << true;
    }
    // Guards a boundary that disagrees with the verdict: at every recorded try the series lies beyond
    // the line exactly when the evidence (computed directly, tries before the history included) has
    // reached 20, and the verdict at the end says the same.
    void boundaryAgreesWithTheEvidence()
    {
        QFETCH(Runs, runs);
        QFETCH(int, blockTries);
        QFETCH(int, blockHits);
        QFETCH(bool, reachedAtEnd);
        const ResultsRecord record = recordOfRuns(runs, blockTries, blockHits);
        const ResultsData &data = record.data();
        const std::vector<BoundaryPoint> points = evidenceBoundaryPoints(data, 100000);
        QCOMPARE(points.size(), std::size_t(data.recordedTries()) + 1);
        const double level = std::log10(stats::kEvidenceLevel);
        bool reached = false;
        for (const BoundaryPoint &point : points) {
            const int hits = point.tries == 0 ? 0 : data.cumulativeHits[std::size_t(point.tries) - 1];
            const double above = hits - point.tries * stats::kChanceOfHit;
            reached = stats::evidence(blockTries + point.tries, blockHits + hits).log10Value >= level;
            const bool beyond = above >= point.above - 1e-9 || above <= point.below + 1e-9;
            QVERIFY2(beyond == reached,
                     qPrintable(QStringLiteral("at try %1: %2 above chance, line at %3 / %4")
                                    .arg(point.tries)
                                    .arg(above)
                                    .arg(point.above)
                                    .arg(point.below)));
        }
        QCOMPARE(reached, reachedAtEnd);
        QCOMPARE(evidenceVerdict(data).startsWith(QStringLiteral("This is within")), !reachedAtEnd);
        // A long record is drawn from a few points, the last try among them.
        const std::vector<BoundaryPoint> few = evidenceBoundaryPoints(data, 10);
        QVERIFY(few.size() == 11 && few.back().tries == data.recordedTries());
    }

    // Guards the trend chart against dots out of order or a line that is not the trend test's fit.
    // Worked by hand: runs of 10, 20, 30, 40 tries with 1, 4, 9, 14 hits at places 1..4; weighted by
    // tries the mean place is 3 and the mean rate 0.28; the slope is (-2 - 4 + 0 + 14) / (40 + 20 + 0
    // + 40) = 0.08 per run, so the line runs from 0.28 - 2 x 0.08 = 0.12 to 0.28 + 0.08 = 0.36.
    void dotsAndTrendLine()
    {
        const ResultsData data = recordOfRuns({{10, 1}, {20, 4}, {30, 9}, {40, 14}}).data();
        const std::vector<RunDot> dots = runDots(data);
        QCOMPARE(dots.size(), std::size_t(4));
        QVERIFY(dots[1].order == 2 && dots[1].tries == 20 && dots[1].rate == 0.2);
        QVERIFY(dots[3].order == 4 && dots[3].tries == 40 && dots[3].rate == 0.35);
        const TrendLine line = trendLine(data);
        QVERIFY(line.shown);
        QVERIFY2(std::abs(line.firstRate - 0.12) < 1e-12 && std::abs(line.lastRate - 0.36) < 1e-12,
                 qPrintable(QStringLiteral("%1 to %2").arg(line.firstRate).arg(line.lastRate)));
        // One run has no trend to draw.
        QVERIFY(!trendLine(recordOfRuns({{30, 9}}).data()).shown);
    }
};

QTEST_GUILESS_MAIN(tst_ChartSeries)
#include "tst_ChartSeries.moc"
