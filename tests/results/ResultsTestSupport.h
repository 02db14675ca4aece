#pragma once

// Shared by the Results suites: tries and records built without a store.

#include "results/ResultsRecord.h"

namespace resultstest {

inline results::RecordedTry tryOf(std::int64_t run, bool hit, results::Deck deck = results::Deck::Zener,
                                  results::Game game = results::Game::Plain)
{
    return {run, QDateTime(QDate(2026, 12, 1), QTime(9, 0), Qt::UTC).addSecs(run * 600), game, deck, hit};
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
