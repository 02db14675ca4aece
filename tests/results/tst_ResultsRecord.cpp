// The record the Results window shows, built without a screen: runs, splits, what came before the
// history, the spread chance gives, the same figures whether built at once or try by try, and the
// numbers and file names as the window writes them.
#include "results/ResultsFormat.h"
#include "results/ResultsRecord.h"
#include "results/ResultsTexts.h"
#include "tests/results/ResultsTestSupport.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace results;
using resultstest::recordOf;
using resultstest::tryOf;

namespace {

// Chance of exactly k hits in n tries at one in five, from the logarithm of the binomial term.
double chanceOfHits(int n, int k)
{
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) +
                    k * std::log(0.2) + (n - k) * std::log(0.8));
}

} // namespace

class tst_ResultsRecord : public QObject
{
    Q_OBJECT

private slots:
    // Guards the spread chance gives: each tenth holds exactly the hit counts that put a run there.
    void chanceSpreadIsExact_data()
    {
        QTest::addColumn<int>("tries");
        QTest::newRow("one try") << 1;
        QTest::newRow("seven tries, uneven tenths") << 7;
        QTest::newRow("a run of 25") << 25;
    }
    void chanceSpreadIsExact()
    {
        QFETCH(int, tries);
        std::array<double, kSpreadBins> exact{};
        for (int k = 0; k <= tries; ++k)
            exact[std::min(kSpreadBins - 1, k * kSpreadBins / tries)] += chanceOfHits(tries, k);
        const RunSpread spread = recordOf({tries}).data().spread;
        for (int b = 0; b < kSpreadBins; ++b)
            QVERIFY2(std::abs(spread.chance[b] - exact[b]) <= 1e-12 + 1e-9 * exact[b],
                     qPrintable(QString::number(b)));
    }

    // Guards long runs: the tenths still sum to one run, and a tenth far out in the upper tail keeps
    // its tiny but real chance instead of vanishing in the difference of two numbers near 1.
    void longRunsKeepTheirTails()
    {
        for (int tries : {1000, 32767}) {
            const RunSpread spread = recordOf({tries}).data().spread;
            double sum = 0;
            for (double chance : spread.chance)
                sum += chance;
            QVERIFY(std::abs(sum - 1) < 1e-9);
        }
        double exact = 0; // 40-50 % of 1000 tries, term by term
        for (int k = 400; k < 500; ++k)
            exact += chanceOfHits(1000, k);
        const RunSpread spread = recordOf({1000}).data().spread;
        QVERIFY(exact > 1e-50);
        QVERIFY(std::abs(spread.chance[4] - exact) < 1e-6 * exact);
    }

    void spreadBinEdges_data()
    {
        QTest::addColumn<int>("tries");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("bin");
        QTest::newRow("exactly chance counts in 20-30 %") << 25 << 5 << 2;
        QTest::newRow("just under chance") << 25 << 4 << 1;
        QTest::newRow("all hits in the last tenth") << 10 << 10 << 9;
        QTest::newRow("one in three") << 3 << 1 << 3;
        QTest::newRow("no tries") << 0 << 0 << 0;
    }
    void spreadBinEdges()
    {
        QFETCH(int, tries);
        QFETCH(int, hits);
        QFETCH(int, bin);
        QCOMPARE(spreadBin(tries, hits), bin);
    }

    // Guards the grouping: tries go to their run (decks in the order first played), to their game
    // and deck; only splits with tries show; the totals beyond the history are "before" it, never
    // negative when the history holds more than the totals.
    void recordGroupsRunsAndSplits()
    {
        ResultsRecord record(QStringLiteral("Ada"));
        record.add(tryOf(4, true, Deck::Colors));
        record.add(tryOf(4, false, Deck::Zener));
        record.add(tryOf(4, true, Deck::Colors));
        record.add(tryOf(9, false, Deck::Zener, Game::FindHidden));
        record.setTotals(14, 5);
        record.finish();
        const ResultsData &data = record.data();
        QCOMPARE(data.runs.size(), 2);
        QCOMPARE(data.runs[0].decks,
                 resultstext::kDeckColor + QStringLiteral(", ") + resultstext::kDeckZener);
        QCOMPARE(data.runs[0].tally.tries, 3);
        QCOMPARE(data.runs[0].tally.hits, 2);
        QCOMPARE(data.runs[1].game, resultstext::kGameFindHidden);
        QCOMPARE(data.games.size(), 2);
        QCOMPARE(data.decks.size(), 2);         // no playing cards
        QCOMPARE(data.decks[0].tally.tries, 2); // Zener
        QCOMPARE(data.cumulativeHits, (std::vector<std::int32_t>{1, 1, 2, 2}));
        QCOMPARE(data.beforeHistoryTries, 10);
        QCOMPARE(data.beforeHistoryHits, 3);
        QCOMPARE(data.whole.tries, 14);

        record.setTotals(2, 1);
        record.finish();
        QCOMPARE(record.data().beforeHistoryTries, 0);
        QCOMPARE(record.data().beforeHistoryHits, 0);
    }

    // Guards the update after each try: finishing after every try gives the same figures as
    // finishing once at the end.
    void tryByTryMatchesAllAtOnce()
    {
        QRandomGenerator random(11);
        ResultsRecord atOnce(QStringLiteral("Ada")), byTry(QStringLiteral("Ada"));
        int hits = 0;
        for (int i = 0; i < 400; ++i) {
            const RecordedTry next = tryOf(i / 37, random.bounded(5) == 0, Deck(random.bounded(3)));
            hits += next.hit ? 1 : 0;
            atOnce.add(next);
            byTry.add(next);
            byTry.setTotals(i + 1, hits);
            byTry.finish();
        }
        atOnce.setTotals(400, hits);
        atOnce.finish();
        const ResultsData &a = atOnce.data(), &b = byTry.data();
        QCOMPARE(a.runs.size(), b.runs.size());
        for (qsizetype i = 0; i < a.runs.size(); ++i) {
            QCOMPARE(a.runs[i].tally.hits, b.runs[i].tally.hits);
            QCOMPARE(a.runs[i].tally.pAtLeast, b.runs[i].tally.pAtLeast);
            QCOMPARE(a.runs[i].decks, b.runs[i].decks);
        }
        QCOMPARE(a.spread.runs, b.spread.runs);
        for (int bin = 0; bin < kSpreadBins; ++bin)
            QVERIFY(std::abs(a.spread.chance[bin] - b.spread.chance[bin]) < 1e-9);
        QCOMPARE(a.whole.pAtLeast, b.whole.pAtLeast);
        QCOMPARE(a.evidence.log10Value, b.evidence.log10Value);
        QCOMPARE(a.log10EvidencePeak, b.log10EvidencePeak);
    }

    // Guards E along the record: the tries before the history as one block first, then each recorded
    // try in order; the peak depends on that order, the value now does not. Exact values from
    // rational arithmetic (Python fractions, logs to 50 digits).
    void evidenceAlongTheRecord_data()
    {
        QTest::addColumn<int>("blockTries");
        QTest::addColumn<int>("blockHits");
        QTest::addColumn<QString>("recorded"); // 1 a hit, 0 a miss, in order
        QTest::addColumn<double>("log10E");
        QTest::addColumn<double>("log10Peak");
        QTest::addColumn<QString>("verdict");
        const QString within = QStringLiteral("This is within what chance alone gives");
        QTest::newRow("9 of 25, hits first")
            << 0 << 0 << QString(9, u'1') + QString(16, u'0') << 0.195608821 << 1.493073846 << within;
        QTest::newRow("9 of 25, hits last")
            << 0 << 0 << QString(16, u'0') + QString(9, u'1') << 0.195608821 << 0.367698827 << within;
        QTest::newRow("24 of 24 before the history")
            << 24 << 24 << QString() << 5.924577999 << 5.924577999
            << QStringLiteral("Above chance: evidence 840 000 to 1.");
        QTest::newRow("block, then 12 hits and 18 misses")
            << 5 << 1 << QString(12, u'1') + QString(18, u'0') << 0.465129820 << 2.157760572 << within;
        QTest::newRow("0 of 60") << 0 << 0 << QString(60, u'0') << 3.211383281 << 3.211383281
                                 << QStringLiteral("Below chance (psi-missing): evidence 1 600 to 1.");
    }
    void evidenceAlongTheRecord()
    {
        QFETCH(int, blockTries);
        QFETCH(int, blockHits);
        QFETCH(QString, recorded);
        QFETCH(double, log10E);
        QFETCH(double, log10Peak);
        QFETCH(QString, verdict);
        ResultsRecord record(QStringLiteral("Ada"));
        int hits = blockHits;
        for (QChar c : recorded) {
            record.add(tryOf(1, c == u'1'));
            hits += c == u'1' ? 1 : 0;
        }
        record.setTotals(blockTries + recorded.size(), hits);
        record.setBaseline(history::Baseline{blockTries, blockHits});
        record.finish();
        const ResultsData &data = record.data();
        QVERIFY(std::abs(data.evidence.log10Value - log10E) < 1e-8);
        QVERIFY(std::abs(data.log10EvidencePeak - log10Peak) < 1e-8);
        QVERIFY2(headline(data, QLocale::c()).startsWith(verdict), qPrintable(headline(data, QLocale::c())));
    }

    // Guards the inputs of the trend and the exploratory scores: runs in order, the guess against the
    // next and the previous card within a run only (never across runs), positions read for both games.
    void trendAndSecondaryFromRuns()
    {
        ResultsRecord record(QStringLiteral("Ada"));
        // Run 1: guesses 2 3 4 5, targets 1 2 3 4 (each guess the next card); run 2 the same;
        // run 3: guesses 1 1 1 1, targets 1 1 1 1 (all hits, and each guess the card just seen).
        for (int run = 1; run <= 3; ++run)
            for (int i = 0; i < 4; ++i) {
                RecordedTry next = tryOf(run, run == 3);
                next.guessPosition = run == 3 ? 1 : i + 2;
                next.targetPosition = run == 3 ? 1 : i + 1;
                record.add(next);
            }
        record.setTotals(12, 4);
        record.finish();
        const ResultsData &data = record.data();
        QCOMPARE(data.trend.runs, 3);
        QCOMPARE(data.trend.enough, false); // 12 tries: too few
        QCOMPARE(data.secondary.plus1.tries, 9);
        QCOMPARE(data.secondary.plus1.hits, 9);
        QCOMPARE(data.secondary.minus1.tries, 9);
        QCOMPARE(data.secondary.minus1.hits, 3);
        QCOMPARE(data.secondary.variance.runs, 3);
        const QString text = summaryText(data, QLocale::c());
        QVERIFY(text.contains(QStringLiteral("Am I improving?: Too few runs to tell yet.")));
        QVERIFY(text.contains(QStringLiteral("(exploratory): 9 of 9 tries")));
    }

    // Guards what the summary names: the tries before the history with their count, only when there
    // are some; an empty record leads with the sentence that says how to start.
    void summaryNamesWhatCameBefore()
    {
        ResultsRecord empty(QStringLiteral("Ada"));
        QCOMPARE(headline(empty.data()), resultstext::kNoTries);
        QVERIFY(!summaryText(empty.data(), QLocale::c()).contains(resultstext::kBeforeHistory));

        ResultsRecord record = recordOf({30});
        record.setTotals(42, 9);
        record.finish();
        const QString text = summaryText(record.data(), QLocale::c());
        QVERIFY(text.contains(resultstext::kBeforeHistory + QStringLiteral(": 12 tries, 3 hits")));
        QVERIFY(text.contains(evidenceVerdict(record.data())));
        QVERIFY(text.startsWith(QStringLiteral("Ada: 9 hits in 42 tries\n")));
    }

    // Guards a verdict drawn from totals the record contradicts (Hits edited by hand to 99 gave "only
    // about 1 time in 9.1 x 10^27"): the headline names the figures and the gap instead.
    void totalsThatDisagreeDrawNoVerdict_data()
    {
        QTest::addColumn<bool>("baseline"); // the history kept 5 tries, 1 hit from before it began
        QTest::addColumn<int>("storedTries");
        QTest::addColumn<int>("storedHits");
        QTest::addColumn<int>("invalid"); // rows that cannot be true, each a recorded miss
        QTest::addColumn<QString>("says");
        QTest::newRow("agree") << true << 45 << 9 << 0 << QString();
        QTest::newRow("an impossible row still counted by the totals")
            << true << 46 << 9 << 1 << resultstext::kInvalidTry;
        QTest::newRow("hits edited up")
            << true << 45 << 99 << 0 << QStringLiteral("Hits: 99 stored, the record explains 9, 90 apart");
        QTest::newRow("tries lost") << true << 30 << 9 << 0
                                    << QStringLiteral("Tries: 30 stored, the record explains 45, 15 apart");
        QTest::newRow("no baseline, record longer than the totals")
            << false << 30 << 8 << 0 << QStringLiteral("Tries: 30 stored, the record explains 40, 10 apart");
    }
    void totalsThatDisagreeDrawNoVerdict()
    {
        QFETCH(bool, baseline);
        QFETCH(int, storedTries);
        QFETCH(int, storedHits);
        QFETCH(int, invalid);
        QFETCH(QString, says);
        ResultsRecord record(QStringLiteral("Ada"));
        for (int i = 0; i < 40; ++i)
            record.add(tryOf(1, i < 8));
        for (int i = 0; i < invalid; ++i)
            record.addRejected(false);
        record.setTotals(storedTries, storedHits);
        if (baseline)
            record.setBaseline(history::Baseline{5, 1});
        record.finish();
        const ResultsData &data = record.data();
        const QString shown = headline(data, QLocale::c());
        const bool agree = !says.startsWith(resultstext::kTries) && !says.startsWith(resultstext::kHits);
        QCOMPARE(data.totals.consistent, agree);
        QCOMPARE(shown.contains(evidenceVerdict(data)), agree);
        QVERIFY2(shown.contains(says), qPrintable(shown));
        QCOMPARE(summaryLines(data, QLocale::c())[5].value == QStringLiteral("-"), !agree);
    }

    void suggestedFileNames_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain name") << "Ada"
                                    << ""
                                    << "qxOrvanta-Ada-2026-12-09.csv";
        QTest::newRow("a chart") << "Ada"
                                 << "runs"
                                 << "qxOrvanta-Ada-runs-2026-12-09.csv";
        QTest::newRow("a slash cannot lead into a folder") << "../a/b"
                                                           << ""
                                                           << "qxOrvanta-.._a_b-2026-12-09.csv";
        QTest::newRow("characters other desktops refuse") << "a:b*?"
                                                          << ""
                                                          << "qxOrvanta-a_b__-2026-12-09.csv";
    }
    void suggestedFileNames()
    {
        QFETCH(QString, user);
        QFETCH(QString, what);
        QFETCH(QString, expected);
        QCOMPARE(suggestedFileName(user, QDate(2026, 12, 9), QStringLiteral("csv"), what), expected);
    }
};

QTEST_GUILESS_MAIN(tst_ResultsRecord)
#include "tst_ResultsRecord.moc"
