#pragma once

#include "Binomial.h"

#include <QString>

#include <cstdint>

namespace stats {

// Everything the program says about n tries with k hits against chance (1 in 5): what chance alone
// would give, how far the record is from it, how rare it would be by chance, and the plain verdict.
struct HitSummary
{
    std::int64_t tries = 0;
    std::int64_t hits = 0;
    double expectedHits = 0; // n / 5
    double sd = 0;           // sqrt(n * 0.16)
    double z = 0;            // (k - n/5) / sd; 0 without tries
    double pAtLeast = 1;     // P(X >= k)
    double pAtMost = 1;      // P(X <= k)
    Interval ci95;           // exact 95 % interval of the hit rate, 0..1
    QString verdict;
};

HitSummary summarize(std::int64_t tries, std::int64_t hits);

// Below this a probability is only ever said to be "less than 1 in 10^300" (it may have underflowed).
constexpr double kSmallestStatedProbability = 1e-300;
// Fewer tries than this tell nothing yet.
constexpr std::int64_t kFewestTriesForVerdict = 25;
// A tail below this is called out in the verdict.
constexpr double kVerdictLevel = 0.05;

inline const QString kVerdictTooFew = QStringLiteral("Too few tries to tell yet.");
inline const QString kVerdictWithinChance = QStringLiteral("This is within what chance alone gives.");
// %1: a readable "1 in N" figure, as oddsText() gives it.
inline const QString kVerdictAbove = QStringLiteral("Chance alone scores this well or better %1.");
inline const QString kVerdictBelow = QStringLiteral("Chance alone scores this low or lower %1.");
inline const QString kOddsAbout = QStringLiteral("only about 1 time in %1");
inline const QString kOddsBeyondStated = QStringLiteral("less than 1 time in 10^300");

// The verdict sentence for n tries with the given tails.
QString verdictSentence(std::int64_t tries, double pAtLeast, double pAtMost);
// "only about 1 time in 580" for p = 1/580; "less than 1 time in 10^300" below that.
QString oddsText(double p);
// N rounded to two significant digits in words a reader takes in at a glance: 21, 580, 12 000,
// 3.4 million, 27 billion, 1.2 × 10^18.
QString readableCount(double count);
// A probability for a table or a command line: "0.0213", "3.2e-12", never "0" ("< 1e-300").
QString probabilityText(double p);

} // namespace stats
