#pragma once

#include "settings/Settings.h"

#include "proof/RecordChain.h"

#include <QList>

struct sqlite3;

// The chained record in the store: table history_chain holds, per account, every row appended since
// the chain began in order (seq 1, 2, ...) with its chain value h = SHA-256(previous h || canonical
// bytes), computed by SQLite inside the very transaction that writes the row and the totals (SQL
// function qxo_link), from the row as stored. Run starts carry their commitment, run ends their
// revealed seed; tries and runs keep their data in their own tables and are joined by run id and try.
namespace history::chain {

// Migration step: the chain's table (safe to run again, and beside any other table).
extern const char *const kMigration;
// Registers qxo_link on a connection.
void registerFunctions(sqlite3 *db);
// Copies a damaged file's chain rows into its replacement.
void salvage(sqlite3 *damaged, QList<AttachedStatement> *out);
// Statements the store checks compile once up to date.
std::vector<QByteArray> checks();

// The chained append: the statement that links the row just written by the statement before it in the
// same write. Every row appended to a record goes through one of these (TryRecorder builds them):
//   runStart(fold, token, commitment), tryRow(fold, token, try), runEnd(fold, token, seed),
//   seriesRow(fold, kind 4 or 5, time, N, game, deck) (kind 5: N, game, deck 0).
AttachedStatement runStart(const QString &fold, qint64 token, const proof::Digest &commitment);
AttachedStatement tryRow(const QString &fold, qint64 token, qint64 tryNumber);
AttachedStatement runEnd(const QString &fold, qint64 token, const proof::Digest &seed);
AttachedStatement seriesRow(const QString &fold, proof::RowKind kind, qint64 timeMs, qint64 tries,
                            qint64 game, qint64 deck);

} // namespace history::chain
