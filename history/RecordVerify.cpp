#include "RecordVerify.h"

#include "TryHistory.h"

#include "settings/SettingsStore.h"
#include "settings/StoreReader.h"
#include "settings/StoreSql.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace history {

namespace {

// Tries with no chain value whose run has none either: rows from before the chain began.
const char *const kBeforeChain =
    "SELECT t.time_ms, t.run_id, t.try, t.game, t.deck, t.blind, t.guess, t.target, IFNULL(t.layout, 0),"
    " t.hit, IFNULL(t.response_ms, -1) FROM history_try t JOIN history_run r ON r.id = t.run_id"
    " WHERE r.section_fold = ?1 AND NOT EXISTS (SELECT 1 FROM history_chain c WHERE c.section_fold = ?1"
    " AND c.run_id = t.run_id) ORDER BY t.run_id, t.try";
// Every chained row in order, with the data of its run, run end, try or series as stored in their own
// tables: an edit there changes what is hashed, a deleted row hashes as all 0. A series is found by
// the time it was declared, its early end by the time it ended.
const char *const kChained =
    "SELECT c.kind, c.run_id, c.try, c.time_ms, c.game, c.deck, c.secret, c.h, r.start_ms, r.game, e.end_ms,"
    " t.time_ms, t.game, t.deck, t.blind, t.guess, t.target, IFNULL(t.layout, 0), t.hit,"
    " IFNULL(t.response_ms, -1), s.declared_ms, s.tries, s.game, s.deck, x.ended_early_ms"
    " FROM history_chain c LEFT JOIN history_run r ON r.id = c.run_id"
    " LEFT JOIN history_run_end e ON e.run_id = c.run_id AND c.kind = 3"
    " LEFT JOIN history_try t ON t.run_id = c.run_id AND t.try = c.try AND c.kind = 2"
    " LEFT JOIN history_series s ON c.kind = 4 AND s.section_fold = c.section_fold AND s.declared_ms = "
    "c.time_ms"
    " LEFT JOIN history_series x ON c.kind = 5 AND x.section_fold = c.section_fold"
    " AND x.ended_early_ms = c.time_ms WHERE c.section_fold = ?1 ORDER BY c.seq";
// Series declared once the chain had begun (?2: the time of its first row) that have no chain row: put
// in by hand.
const char *const kUnchainedSeries =
    "SELECT s.declared_ms FROM history_series s WHERE s.section_fold = ?1 AND s.declared_ms >= ?2 AND NOT"
    " EXISTS (SELECT 1 FROM history_chain c WHERE c.section_fold = ?1 AND c.kind = 4 AND c.time_ms ="
    " s.declared_ms) ORDER BY s.declared_ms";
// Tries of chained runs that have no chain value: put in after the chain began, out of its order.
const char *const kUnchainedInChainedRun =
    "SELECT t.time_ms, t.run_id, t.try, t.game, t.deck, t.blind, t.guess, t.target, IFNULL(t.layout, 0),"
    " t.hit, IFNULL(t.response_ms, -1) FROM history_try t JOIN history_run r ON r.id = t.run_id"
    " WHERE r.section_fold = ?1 AND EXISTS (SELECT 1 FROM history_chain c WHERE c.section_fold = ?1"
    " AND c.run_id = t.run_id) AND NOT EXISTS (SELECT 1 FROM history_chain c WHERE c.section_fold = ?1"
    " AND c.kind = 2 AND c.run_id = t.run_id AND c.try = t.try) ORDER BY t.run_id, t.try";

proof::Digest digestAt(sqlite3_stmt *row, int column)
{
    proof::Digest digest{};
    if (sqlite3_column_type(row, column) == SQLITE_BLOB && sqlite3_column_bytes(row, column) == 32)
        std::memcpy(digest.data(), sqlite3_column_blob(row, column), digest.size());
    return digest;
}

proof::ChainRow tryRow(sqlite3_stmt *row, int first)
{
    proof::ChainRow out;
    std::int64_t *fields[] = {&out.timeUtcMs, &out.run,   &out.tryNumber, &out.game,
                              &out.deck,      &out.blind, &out.guess,     &out.target,
                              &out.layout,    &out.hit,   &out.responseMs};
    for (int i = 0; i < 11; ++i)
        *fields[i] = sqlite3_column_int64(row, first + i);
    return out;
}

proof::ChainRow chainedRow(sqlite3_stmt *row)
{
    proof::ChainRow out;
    const auto kind = proof::RowKind(sqlite3_column_int(row, 0));
    const auto at = [&](int column) { return sqlite3_column_int64(row, column); };
    if (kind == proof::RowKind::Try) {
        // The try's own row: time, then (run and try from the chain) game .. response.
        out.timeUtcMs = at(11);
        out.run = at(1);
        out.tryNumber = at(2);
        std::int64_t *fields[] = {&out.game,   &out.deck,   &out.blind, &out.guess,
                                  &out.target, &out.layout, &out.hit,   &out.responseMs};
        for (int i = 0; i < 8; ++i)
            *fields[i] = at(12 + i);
        if (sqlite3_column_type(row, 11) == SQLITE_NULL)
            out.responseMs = 0; // a deleted try hashes as all 0
    } else if (kind == proof::RowKind::RunStart) {
        out.timeUtcMs = at(8);
        out.run = at(1);
        out.game = at(9);
    } else if (kind == proof::RowKind::RunEnd) {
        out.timeUtcMs = at(10);
        out.run = at(1);
    } else if (kind == proof::RowKind::Series) {
        out.timeUtcMs = at(20);
        out.tryNumber = at(21);
        out.game = at(22);
        out.deck = at(23);
    } else {
        out.timeUtcMs = at(24);
    }
    out.kind = kind;
    out.secret = digestAt(row, 6);
    out.link = digestAt(row, 7);
    return out;
}

// Runs sql with the account's folded name as ?1 (and `second` as ?2 where the statement has one),
// handing each row to onRow.
template <typename OnRow>
bool eachRow(sqlite3 *db, const char *sql, const QString &folded, OnRow onRow, std::int64_t second = 0)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        return false;
    storesql::bindText(statement, 1, folded);
    if (sqlite3_bind_parameter_count(statement) >= 2)
        sqlite3_bind_int64(statement, 2, second);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        onRow(statement);
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

} // namespace

bool readChainRows(sqlite3 *db, const QString &folded, std::vector<proof::ChainRow> *rows)
{
    bool chained = false;
    {
        sqlite3_stmt *probe = nullptr;
        chained = sqlite3_prepare_v2(db, "SELECT 1 FROM history_chain", -1, &probe, nullptr) == SQLITE_OK;
        sqlite3_finalize(probe);
    }
    if (!chained) // a file from before the chain: every try is before it
        return eachRow(db,
                       "SELECT t.time_ms, t.run_id, t.try, t.game, t.deck, t.blind, t.guess, t.target,"
                       " IFNULL(t.layout, 0), t.hit, IFNULL(t.response_ms, -1) FROM history_try t JOIN"
                       " history_run r ON r.id = t.run_id WHERE r.section_fold = ?1 ORDER BY t.run_id, t.try",
                       folded, [&](sqlite3_stmt *row) { rows->push_back(tryRow(row, 0)); });
    const auto addTry = [&](sqlite3_stmt *row) { rows->push_back(tryRow(row, 0)); };
    return eachRow(db, kBeforeChain, folded, addTry) &&
           eachRow(db, kChained, folded, [&](sqlite3_stmt *row) { rows->push_back(chainedRow(row)); }) &&
           eachRow(db, kUnchainedInChainedRun, folded, addTry);
}

QString describeRow(const std::vector<proof::ChainRow> &rows, int index)
{
    if (index < 0 || size_t(index) >= rows.size())
        return {};
    const proof::ChainRow &row = rows[size_t(index)];
    const QString at = QStringLiteral("row %1, ").arg(index + 1);
    switch (row.kind) {
    case proof::RowKind::RunStart:
        return at + QStringLiteral("start of run %1").arg(row.run);
    case proof::RowKind::Try:
        return at + QStringLiteral("try %1 of run %2").arg(row.tryNumber).arg(row.run);
    case proof::RowKind::RunEnd:
        return at + QStringLiteral("end of run %1").arg(row.run);
    case proof::RowKind::Series:
        return at + QStringLiteral("series of %1 declared").arg(row.tryNumber);
    case proof::RowKind::SeriesEnd:
        return at + QStringLiteral("series ended early");
    }
    return at;
}

std::optional<RecordVerification> verifyStoredRecord(const QString &filePath, const QString &userName,
                                                     QString *reason)
{
    TryHistory history(filePath);
    if (!history.open(reason))
        return std::nullopt;
    const std::optional<AccountHistory> account = history.account(userName, reason);
    if (!account)
        return std::nullopt;
    StoreReader reader(filePath);
    if (!reader.open(reason))
        return std::nullopt;
    RecordVerification out;
    out.userName = account->userName;
    const QString folded = SettingsStore::foldName(userName);
    reader.beginSnapshot();
    bool read = readChainRows(reader.connection(), folded, &out.rows);
    const auto chainStart =
        std::find_if(out.rows.begin(), out.rows.end(), [](const auto &row) { return row.link; });
    if (read && chainStart != out.rows.end())
        read = eachRow(
            reader.connection(), kUnchainedSeries, folded,
            [&](sqlite3_stmt *row) { out.unchainedSeries.push_back(sqlite3_column_int64(row, 0)); },
            chainStart->timeUtcMs);
    reader.endSnapshot();
    if (!read) {
        *reason = reader.lastError();
        return std::nullopt;
    }
    out.chain = proof::verifyRecord(folded, out.rows);
    out.totals = checkTotals(*account);
    if (!out.chain.holds())
        out.firstProblem = describeRow(out.rows, out.chain.firstProblemRow) + QStringLiteral(": ") +
                           proof::problemName(out.chain.firstProblem);
    else if (!out.unchainedSeries.empty())
        out.firstProblem =
            QStringLiteral("series declared at %1 ms: not on the chain, although the chain had begun")
                .arg(out.unchainedSeries.front());
    else if (!out.totals.consistent)
        out.firstProblem =
            QStringLiteral("totals: stored %1 tries and %2 hits, the record explains %3 and %4")
                .arg(out.totals.storedTries)
                .arg(out.totals.storedHits)
                .arg(out.totals.explainedTries)
                .arg(out.totals.explainedHits);
    return out;
}

std::optional<StoredFingerprint> storedFingerprint(const QString &filePath, const QString &userName,
                                                   QString *reason)
{
    StoreReader reader(filePath);
    if (!reader.open(reason))
        return std::nullopt;
    StoredFingerprint out;
    if (!reader.hasTable("history_chain"))
        return out;
    const QString folded = SettingsStore::foldName(userName);
    reader.beginSnapshot();
    const bool read =
        eachRow(reader.connection(),
                "SELECT h FROM history_chain WHERE section_fold = ?1 ORDER BY seq DESC LIMIT 1", folded,
                [&](sqlite3_stmt *row) { out.fingerprint = digestAt(row, 0); }) &&
        eachRow(reader.connection(),
                "SELECT count(*) FROM history_chain WHERE section_fold = ?1 AND kind = 2", folded,
                [&](sqlite3_stmt *row) { out.chainedTries = sqlite3_column_int64(row, 0); });
    reader.endSnapshot();
    if (!read) {
        *reason = reader.lastError();
        return std::nullopt;
    }
    return out;
}

} // namespace history
