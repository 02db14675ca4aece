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
        QVERIFY(text.contains(record.data().whole.verdict));
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
        QCOMPARE(shown.contains(data.whole.verdict), agree);
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
