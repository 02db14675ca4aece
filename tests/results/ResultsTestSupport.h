#pragma once

// Shared by the Results suites: tries and records built without a store.

#include "results/ResultsRecord.h"

namespace resultstest {

// A try whose positions agree with its hit: guessed 1, the card at 1 on a hit and at 2 on a miss.
inline results::RecordedTry tryOf(std::int64_t run, bool hit, results::Deck deck = results::Deck::Zener,
                                  results::Game game = results::Game::Plain)
{
    return {run,        QDateTime(QDate(2026, 12, 1), QTime(9, 0), Qt::UTC).addSecs(run * 600),
            game,       deck,
            hit,        1,
            hit ? 1 : 2};
}

// Runs of the given tries and hits in this order, each run's hits first; stored totals blockTries and
// blockHits above what the runs hold (tries counted before the history began).
inline results::ResultsRecord recordOfRuns(const QList<std::pair<int, int>> &runs, int blockTries = 0,
                                           int blockHits = 0)
{
    results::ResultsRecord record(QStringLiteral("Ada"));
    int tries = blockTries, hits = blockHits;
    for (qsizetype run = 0; run < runs.size(); ++run)
        for (int i = 0; i < runs[run].first; ++i, ++tries) {
            hits += i < runs[run].second ? 1 : 0;
            record.add(tryOf(run, i < runs[run].second));
        }
    record.setTotals(tries, hits);
    record.finish();
    return record;
}

// Runs of the given lengths in this order, the first of every five tries of a run a hit.
inline results::ResultsRecord recordOf(const QList<int> &runLengths,
                                       const QString &user = QStringLiteral("Ada"))
{
    results::ResultsRecord record(user);
    int tries = 0, hits = 0;
    for (qsizetype run = 0; run < runLengths.size(); ++run)
        for (int i = 0; i < runLengths[run]; ++i, ++tries) {
            hits += i % 5 == 0 ? 1 : 0;
            record.add(tryOf(run, i % 5 == 0));
        }
    record.setTotals(tries, hits);
    record.finish();
    return record;
}

} // namespace resultstest
