#pragma once

#include "history/RecordCheck.h"
#include "stats/Evidence.h"
#include "stats/HitSummary.h"
#include "stats/Secondary.h"
#include "stats/Trend.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace results {

// Tries and hits of a part of the record, with the exact chance of at least as many hits by chance
// alone (p = 1/5).
struct Tally
{
    std::int64_t tries = 0;
    std::int64_t hits = 0;
    double pAtLeast = 1;
};

// Accuracy in percent; 0 without tries.
inline double accuracyPercent(std::int64_t tries, std::int64_t hits)
{
    return stats::accuracyPercent(tries, hits);
}

struct SplitRow
{
    QString label;
    Tally tally;
};

// One test run that counted at least one try.
struct RunRow
{
    QDateTime start; // UTC
    QString game;
    QString decks; // every deck the run was played with, in the order first used
    Tally tally;
};

// How many runs fall into each tenth of accuracy (0-10 %, ..., 90-100 %; a run exactly on an edge
// counts in the upper tenth, 100 % in the last), beside how many chance alone would put there for
// runs of the same lengths.
inline constexpr int kSpreadBins = 10;
struct RunSpread
{
    std::array<int, kSpreadBins> runs{};
    std::array<double, kSpreadBins> chance{};
};

// Everything the Results window shows for one account: the whole record from the stored totals, and
// what the recorded history explains of it. ResultsRecord builds it; the window only displays it.
struct ResultsData
{
    QString userName;
    QString problem;                     // why the record could not be read; empty when it was
    stats::HitSummary whole;             // the stored totals: the record the user sees everywhere
    std::int64_t beforeHistoryTries = 0; // counted before tries were recorded one by one
    std::int64_t beforeHistoryHits = 0;
    history::TotalsCheck totals;   // whether the stored totals agree with the record
    std::int64_t invalidTries = 0; // recorded rows that cannot be true, left out of everything
    QList<SplitRow> games;
    QList<SplitRow> decks;
    QList<RunRow> runs;
    // Hits among the first i + 1 recorded tries, for every recorded try in order.
    std::vector<std::int32_t> cumulativeHits;
    RunSpread spread;
    // Evidence against chance along the record: the tries before the history began as one block,
    // then every recorded try in order; its value now and the highest it reached.
    stats::Evidence evidence;
    double log10EvidencePeak = 0;
    stats::TrendTest trend;           // over the runs above, in time order
    stats::SecondaryScores secondary; // exploratory, never the verdict

    int recordedTries() const { return static_cast<int>(cumulativeHits.size()); }
};

} // namespace results
