#pragma once

#include "RecordCheck.h"

#include "proof/RecordChain.h"

#include <QString>

#include <optional>
#include <vector>

struct sqlite3;

// Checks one account's record in a settings file, read only and free of any display: the chain of
// every row, every revealed seed against its commitment, every sealed run's draws against its recorded
// targets and deals (proof::verifyRecord), and the stored totals against the record. `--verify` and
// the Results window's record check both call verifyStoredRecord.
namespace history {

struct RecordVerification
{
    QString userName;                  // as created
    std::vector<proof::ChainRow> rows; // in record order: tries before the chain, then the chain
    proof::VerifyReport chain;
    TotalsCheck totals;
    // Series (by the time they were declared) that joined the record after the chain began yet have
    // no place on it: put in by hand.
    std::vector<std::int64_t> unchainedSeries;
    // The first row that does not hold, in words ("row 7, try 3 of run 2: chain"), or the totals'
    // disagreement; empty when everything that can be checked holds.
    QString firstProblem;

    bool holds() const { return chain.holds() && totals.consistent && unchainedSeries.empty(); }
};

// The row in words: "row 7, try 3 of run 2" (rows counted from 1).
QString describeRow(const std::vector<proof::ChainRow> &rows, int index);

// userName matched as at login. std::nullopt with the reason when the file or the account cannot be
// read.
std::optional<RecordVerification> verifyStoredRecord(const QString &filePath, const QString &userName,
                                                     QString *reason);

// The record's fingerprint as stored (the account's latest chain value; none before the chain began)
// and how many of its tries are chained, read without checking anything: what --summary shows.
// std::nullopt with the reason when the file cannot be read.
struct StoredFingerprint
{
    std::optional<proof::Digest> fingerprint;
    qint64 chainedTries = 0;
};
std::optional<StoredFingerprint> storedFingerprint(const QString &filePath, const QString &userName,
                                                   QString *reason);

// The account's rows in record order, read from an open read-only connection (for the CSV too).
bool readChainRows(sqlite3 *db, const QString &folded, std::vector<proof::ChainRow> *rows);

} // namespace history
