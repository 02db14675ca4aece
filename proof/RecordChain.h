#pragma once

#include "CanonicalBytes.h"

#include <QString>

#include <optional>
#include <vector>

// The chained record of one account: every row appended carries
// h = SHA-256(previous h || canonical bytes of the row), starting from
// SHA-256("qxo/chain/v1" || text(folded account name)). The latest h is the record's fingerprint.
namespace proof {

enum class RowKind : std::uint8_t
{
    RunStart = 1,  // a sealed run begins: its commitment
    Try = 2,       // one counted try
    RunEnd = 3,    // the run ends: its revealed seed
    Series = 4,    // a series of N tries is declared
    SeriesEnd = 5, // the open series is ended early
};

// One row of the record, with the fields its kind uses (others stay 0); numbers as the store holds
// them. Canonical bytes (u8 kind, then i64 LE fields in this order):
//   RunStart:  time, run, game, commitment (32 bytes)
//   Try:       time, run, try, game, deck, blind, guess, target, layout, hit, responseMs
//   RunEnd:    time, run, seed (32 bytes)
//   Series:    time, tries (N), game, deck
//   SeriesEnd: time
struct ChainRow
{
    RowKind kind = RowKind::Try;
    std::int64_t timeUtcMs = 0;
    std::int64_t run = 0;
    std::int64_t tryNumber = 0; // Try: 1.. in its run; Series: N, the tries declared
    std::int64_t game = 0;      // 1 plain, 2 find-hidden
    std::int64_t deck = 0;      // 0 Zener, 1 colours, 2 playing cards
    std::int64_t blind = 0;
    std::int64_t guess = 0;
    std::int64_t target = 0;
    std::int64_t layout = 0; // faces under covers 1..5 as a decimal number (31524); 0 in the plain game
    std::int64_t hit = 0;
    std::int64_t responseMs = -1; // -1 when not known
    Digest secret{};              // RunStart: the commitment; RunEnd: the seed
    std::optional<Digest> link;   // the chain value on record; none for tries before the chain began
};

QByteArray canonicalBytes(const ChainRow &row);
Digest firstLink(const QString &foldedAccount);
Digest nextLink(const Digest &previous, const ChainRow &row);

// Links rows in order from the account's first value (what the store writes with each row).
void linkRows(const QString &foldedAccount, std::vector<ChainRow> &rows);

// What is wrong at the first row that fails, in the order checked for one row.
// Where one row fails several checks, the first in this order is named.
enum class Problem
{
    None,
    Chain,       // the chain value does not follow from the previous one and the row
    BeforeChain, // a row without chain value after the chain began, or one that is not a try
    Order,       // out of place: a try or end of a run not started or already ended, a try number
                 // skipped or repeated, a try of another game than its run's, a run of no known game
    Hit,         // a hit flag that disagrees with the guess and the target or deal
    Seed,        // a revealed seed that does not give its run's commitment
    Draw,        // a recorded target or deal that the run's seed does not give
};

QString problemName(Problem problem); // "chain", "before-chain", "order", "hit", "seed", "draw"

struct VerifyReport
{
    int rowsChecked = 0;
    int chainedRows = 0;
    int triesBeforeChain = 0;
    int runsVerified = 0;     // sealed runs whose seed matches and replays every recorded try
    int runsUnverifiable = 0; // sealed runs with no revealed seed (cut off by a crash)
    int unverifiableTries = 0;
    int firstProblemRow = -1; // index into the rows given; -1 when everything holds
    Problem firstProblem = Problem::None;
    std::optional<Digest> fingerprint; // the latest chain value on record

    bool holds() const { return firstProblem == Problem::None; }
};

// Checks rows in record order: the chain, each run's order (start, tries 1..n, end), each try's hit
// flag, each revealed seed against its commitment, each try's target and deal against the replayed
// stream. The totals are not rows of the chain; the store checks them against the record.
VerifyReport verifyRecord(const QString &foldedAccount, const std::vector<ChainRow> &rows);

} // namespace proof
