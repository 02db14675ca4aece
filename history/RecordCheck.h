#pragma once

#include "HistoryTypes.h"

#include <QString>

#include <cstdint>
#include <optional>

// What a recorded row must satisfy to be true, and whether the stored totals agree with the record.
// Every reader of the record asks these, so a row edited by hand or damaged never counts as a try
// and totals the record cannot explain never carry a verdict.
namespace history {

// A try row as the file holds it: each number column as a whole number, or nothing where it holds
// text, a fraction or no value.
struct StoredTry
{
    std::optional<std::int64_t> timeMs, tryNumber, game, deck, blind, guess, target, layout, hit, responseMs;
    bool layoutEmpty = true;   // no layout stored (the plain game writes none)
    bool responseEmpty = true; // no response time stored (not known)
};

// The earliest and latest times a row may carry: the years 0000 to 9999, UTC.
constexpr std::int64_t kEarliestTimeMs = -62'167'219'200'000;
constexpr std::int64_t kLatestTimeMs = 253'402'300'799'999;

// Why the row cannot be true, in words ("guess 99999 is not 1..5"); empty when it can.
QString whyImpossible(const StoredTry &row);
// Why a run cannot be true: its start not a time of the years 0000 to 9999, its end before its
// start, or more hits than the account's lifetime hits. Empty when it can.
QString whyImpossibleRun(std::optional<std::int64_t> startMs, std::optional<std::int64_t> endMs,
                         std::int64_t runHits, std::int64_t lifetimeHits);
// The record as plain values: a try that passed whyImpossible().
TryRecord tryRecord(const StoredTry &row, std::int64_t runId);

// The stored totals against the totals when the history began plus every recorded row.
struct TotalsCheck
{
    bool consistent = true;
    std::int64_t storedTries = 0; // as stored, before any clamping for the figures
    std::int64_t storedHits = 0;
    std::int64_t beforeTries = 0; // the baseline, or stored minus recorded where it is missing
    std::int64_t beforeHits = 0;
    std::int64_t triesOff = 0; // stored minus what the record explains; 0 when they agree
    std::int64_t hitsOff = 0;
    std::int64_t explainedTries = 0; // what the record explains
    std::int64_t explainedHits = 0;
};
TotalsCheck checkTotals(std::int64_t storedTries, std::int64_t storedHits,
                        const std::optional<Baseline> &baseline, std::int64_t recordedTries,
                        std::int64_t recordedHits);
// The same for an account as read: every recorded try counts, rows that cannot be true included (they
// were counted into the totals when they were written).
TotalsCheck checkTotals(const AccountHistory &account);

} // namespace history
