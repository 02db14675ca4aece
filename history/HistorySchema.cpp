#include "HistorySchema.h"

#include "HistoryChain.h"

#include "settings/StoreSql.h"

#include <sqlite3.h>

namespace history::schema {

namespace {

// Version 1: the first history. Tries are keyed by run and number (no rowid: about 40 bytes a try).
// Every statement may run again on a file that already has some of the tables: a store restored from
// a dump has them all but user_version 0, a hand-edited one may lack one.
const char *const kVersion1 =
    "CREATE TABLE IF NOT EXISTS history_account("
    " section_fold TEXT PRIMARY KEY, tries_before INTEGER NOT NULL, hits_before INTEGER NOT NULL,"
    " began_ms INTEGER NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS history_run("
    " id INTEGER PRIMARY KEY, token INTEGER NOT NULL UNIQUE, section_fold TEXT NOT NULL,"
    " name TEXT NOT NULL, game INTEGER NOT NULL, start_ms INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS history_run_account ON history_run(section_fold, id);"
    "CREATE TABLE IF NOT EXISTS history_run_end(run_id INTEGER PRIMARY KEY, end_ms INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS history_try("
    " run_id INTEGER NOT NULL, try INTEGER NOT NULL, time_ms INTEGER NOT NULL, game INTEGER NOT NULL,"
    " deck INTEGER NOT NULL, blind INTEGER NOT NULL, guess INTEGER NOT NULL, target INTEGER NOT NULL,"
    " layout INTEGER, hit INTEGER NOT NULL, response_ms INTEGER,"
    " PRIMARY KEY (run_id, try)) WITHOUT ROWID;";

// Version 2: declared series. A series names no run: its tries are the account's next counted test
// tries after declared_ms. Safe to run again, and on a file that already holds other later tables.
const char *const kVersion2 =
    "CREATE TABLE IF NOT EXISTS history_series("
    " id INTEGER PRIMARY KEY, section_fold TEXT NOT NULL, declared_ms INTEGER NOT NULL,"
    " tries INTEGER NOT NULL, game INTEGER NOT NULL, deck INTEGER NOT NULL, ended_early_ms INTEGER NULL);"
    "CREATE INDEX IF NOT EXISTS history_series_account ON history_series(section_fold, declared_ms);";

const char *const kRestoreSeries =
    "INSERT OR IGNORE INTO history_series(id, section_fold, declared_ms, tries, game, deck, ended_early_ms)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)";

// Copies of the rows, ids kept, for a damaged file's replacement.
const char *const kRestoreRun =
    "INSERT OR IGNORE INTO history_run(id, token, section_fold, name, game, start_ms)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6)";
const char *const kRestoreRunEnd = "INSERT OR IGNORE INTO history_run_end(run_id, end_ms) VALUES (?1, ?2)";
const char *const kRestoreTry =
    "INSERT OR IGNORE INTO history_try(run_id, try, time_ms, game, deck, blind, guess, target, layout,"
    " hit, response_ms) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)";

QVariant columnValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(statement, column));
    default:
        return storesql::columnText(statement, column);
    }
}

// Every row the table still gives up, each as restoreSql with the row's columns as values. A damaged
// page ends a scan early; what was read before it is kept.
void salvageTable(sqlite3 *db, const char *selectSql, const char *restoreSql, QList<AttachedStatement> *out)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, selectSql, -1, &statement, nullptr) == SQLITE_OK) {
        const int columns = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            AttachedStatement row{restoreSql, {}};
            row.parameters.reserve(columns);
            for (int column = 0; column < columns; ++column)
                row.parameters.append(columnValue(statement, column));
            out->push_back(std::move(row));
        }
    }
    sqlite3_finalize(statement);
}

QList<AttachedStatement> salvage(sqlite3 *damaged)
{
    QList<AttachedStatement> rows;
    salvageTable(damaged, "SELECT section_fold, tries_before, hits_before, began_ms FROM history_account",
                 "INSERT OR IGNORE INTO history_account(section_fold, tries_before, hits_before, began_ms)"
                 " VALUES (?1, ?2, ?3, ?4)",
                 &rows);
    salvageTable(damaged, "SELECT id, token, section_fold, name, game, start_ms FROM history_run",
                 kRestoreRun, &rows);
    salvageTable(damaged, "SELECT run_id, end_ms FROM history_run_end", kRestoreRunEnd, &rows);
    salvageTable(damaged,
                 "SELECT run_id, try, time_ms, game, deck, blind, guess, target, layout, hit, response_ms"
                 " FROM history_try",
                 kRestoreTry, &rows);
    chain::salvage(damaged, &rows);
    salvageTable(
        damaged,
        "SELECT id, section_fold, declared_ms, tries, game, deck, ended_early_ms FROM history_series",
        kRestoreSeries, &rows);
    return rows;
}

} // namespace

const char *const kInsertAccount =
    "INSERT OR IGNORE INTO history_account(section_fold, tries_before, hits_before, began_ms)"
    " VALUES (?1, ?2, ?3, ?4)";
const char *const kInsertRun = "INSERT OR IGNORE INTO history_run(token, section_fold, name, game, start_ms)"
                               " VALUES (?1, ?2, ?3, ?4, ?5)";
const char *const kInsertRunEnd =
    "INSERT OR IGNORE INTO history_run_end(run_id, end_ms) SELECT id, ?2 FROM history_run WHERE token = ?1";
const char *const kInsertTry =
    "INSERT OR IGNORE INTO history_try(run_id, try, time_ms, game, deck, blind, guess, target, layout,"
    " hit, response_ms) SELECT id, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11 FROM history_run WHERE token = "
    "?1";

// A declaration is written once; the same declaration written again (a retried write) adds nothing.
const char *const kInsertSeries =
    "INSERT INTO history_series(section_fold, declared_ms, tries, game, deck)"
    " SELECT ?1, ?2, ?3, ?4, ?5 WHERE NOT EXISTS"
    " (SELECT 1 FROM history_series WHERE section_fold = ?1 AND declared_ms = ?2)";
const char *const kEndSeriesEarly =
    "UPDATE history_series SET ended_early_ms = ?3"
    " WHERE section_fold = ?1 AND declared_ms = ?2 AND ended_early_ms IS NULL";

StoreSchema storeSchema()
{
    std::vector<QByteArray> checks{kInsertAccount,  kInsertRun,     kInsertRunEnd, kInsertTry,
                                   kRestoreRun,     kRestoreRunEnd, kRestoreTry,   kInsertSeries,
                                   kEndSeriesEarly, kRestoreSeries};
    for (const QByteArray &check : chain::checks())
        checks.push_back(check);
    // Version 3: the chained record.
    return {{QByteArray(kVersion1), QByteArray(kVersion2), QByteArray(chain::kMigration)},
            checks,
            salvage,
            chain::registerFunctions};
}

void install()
{
    setStoreSchema(storeSchema());
}

} // namespace history::schema
