#include "HistoryChain.h"

#include <sqlite3.h>

#include <cstring>

namespace history::chain {

namespace {

// The previous chain value of the account in ?1 and the next seq, as SQL expressions.
#define QXO_PREV "(SELECT h FROM history_chain WHERE section_fold = ?1 ORDER BY seq DESC LIMIT 1)"
#define QXO_SEQ "IFNULL((SELECT MAX(seq) FROM history_chain WHERE section_fold = ?1), 0) + 1"

const char *const kRunStart =
    "INSERT OR IGNORE INTO history_chain(section_fold, seq, kind, run_id, secret, h)"
    " SELECT ?1, " QXO_SEQ ", 1, r.id, ?3,"
    " qxo_link(?1, " QXO_PREV ", 1, r.start_ms, r.id, 0, r.game, 0, 0, 0, 0, 0, 0, -1, ?3)"
    " FROM history_run r WHERE r.token = ?2 AND NOT EXISTS"
    " (SELECT 1 FROM history_chain c WHERE c.section_fold = ?1 AND c.kind = 1 AND c.run_id = r.id)";
const char *const kTry =
    "INSERT OR IGNORE INTO history_chain(section_fold, seq, kind, run_id, try, h)"
    " SELECT ?1, " QXO_SEQ ", 2, t.run_id, t.try,"
    " qxo_link(?1, " QXO_PREV ", 2, t.time_ms, t.run_id, t.try, t.game, t.deck, t.blind, t.guess, t.target,"
    " IFNULL(t.layout, 0), t.hit, IFNULL(t.response_ms, -1), NULL)"
    " FROM history_try t JOIN history_run r ON r.id = t.run_id WHERE r.token = ?2 AND t.try = ?3 AND NOT"
    " EXISTS (SELECT 1 FROM history_chain c WHERE c.section_fold = ?1 AND c.kind = 2 AND c.run_id = t.run_id"
    " AND c.try = t.try)";
const char *const kRunEnd =
    "INSERT OR IGNORE INTO history_chain(section_fold, seq, kind, run_id, secret, h)"
    " SELECT ?1, " QXO_SEQ ", 3, e.run_id, ?3,"
    " qxo_link(?1, " QXO_PREV ", 3, e.end_ms, e.run_id, 0, 0, 0, 0, 0, 0, 0, 0, -1, ?3)"
    " FROM history_run_end e JOIN history_run r ON r.id = e.run_id WHERE r.token = ?2 AND NOT EXISTS"
    " (SELECT 1 FROM history_chain c WHERE c.section_fold = ?1 AND c.kind = 3 AND c.run_id = e.run_id)";
const char *const kSeries = "INSERT INTO history_chain(section_fold, seq, kind, time_ms, try, game, deck, h)"
                            " SELECT ?1, " QXO_SEQ ", ?2, ?3, ?4, ?5, ?6,"
                            " qxo_link(?1, " QXO_PREV ", ?2, ?3, 0, ?4, ?5, ?6, 0, 0, 0, 0, 0, -1, NULL)";
const char *const kRestore = "INSERT OR IGNORE INTO history_chain(section_fold, seq, kind, run_id, try, "
                             "time_ms, game, deck, secret, h)"
                             " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)";

QByteArray blob(const proof::Digest &digest)
{
    return QByteArray(reinterpret_cast<const char *>(digest.data()), qsizetype(digest.size()));
}

proof::Digest digestOf(sqlite3_value *value)
{
    proof::Digest digest{};
    if (sqlite3_value_type(value) == SQLITE_BLOB && sqlite3_value_bytes(value) == int(digest.size()))
        std::memcpy(digest.data(), sqlite3_value_blob(value), digest.size());
    return digest;
}

// qxo_link(fold, previous h or NULL, kind, time, run, try, game, deck, blind, guess, target, layout, hit,
// response_ms, secret or NULL): the row's chain value.
void link(sqlite3_context *context, int, sqlite3_value **argv)
{
    const QString fold = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                                           sqlite3_value_bytes(argv[0]));
    proof::ChainRow row;
    row.kind = proof::RowKind(sqlite3_value_int(argv[2]));
    std::int64_t *fields[] = {&row.timeUtcMs, &row.run,   &row.tryNumber, &row.game,
                              &row.deck,      &row.blind, &row.guess,     &row.target,
                              &row.layout,    &row.hit,   &row.responseMs};
    for (int i = 0; i < 11; ++i)
        *fields[i] = sqlite3_value_int64(argv[3 + i]);
    row.secret = digestOf(argv[14]);
    const proof::Digest previous =
        sqlite3_value_type(argv[1]) == SQLITE_NULL ? proof::firstLink(fold) : digestOf(argv[1]);
    const proof::Digest h = proof::nextLink(previous, row);
    sqlite3_result_blob(context, h.data(), int(h.size()), SQLITE_TRANSIENT);
}

} // namespace

const char *const kMigration =
    "CREATE TABLE IF NOT EXISTS history_chain("
    " section_fold TEXT NOT NULL, seq INTEGER NOT NULL, kind INTEGER NOT NULL, run_id INTEGER, try INTEGER,"
    " time_ms INTEGER, game INTEGER, deck INTEGER, secret BLOB, h BLOB NOT NULL,"
    " PRIMARY KEY (section_fold, seq)) WITHOUT ROWID;"
    "CREATE INDEX IF NOT EXISTS history_chain_row ON history_chain(run_id, kind, try);";

void registerFunctions(sqlite3 *db)
{
    sqlite3_create_function(db, "qxo_link", 15, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, link, nullptr,
                            nullptr);
}

void salvage(sqlite3 *damaged, QList<AttachedStatement> *out)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(damaged,
                           "SELECT section_fold, seq, kind, run_id, try, time_ms, game, deck, secret, h"
                           " FROM history_chain",
                           -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            AttachedStatement row{kRestore, {}};
            for (int column = 0; column < 10; ++column) {
                switch (sqlite3_column_type(statement, column)) {
                case SQLITE_NULL:
                    row.parameters.append(QVariant());
                    break;
                case SQLITE_INTEGER:
                    row.parameters.append(qint64(sqlite3_column_int64(statement, column)));
                    break;
                case SQLITE_BLOB:
                    row.parameters.append(
                        QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, column)),
                                   sqlite3_column_bytes(statement, column)));
                    break;
                default:
                    row.parameters.append(QString::fromUtf8(
                        reinterpret_cast<const char *>(sqlite3_column_text(statement, column))));
                }
            }
            out->push_back(std::move(row));
        }
    }
    sqlite3_finalize(statement);
}

std::vector<QByteArray> checks()
{
    return {kRunStart, kTry, kRunEnd, kSeries, kRestore};
}

AttachedStatement runStart(const QString &fold, qint64 token, const proof::Digest &commitment)
{
    return {kRunStart, {fold, token, blob(commitment)}};
}

AttachedStatement tryRow(const QString &fold, qint64 token, qint64 tryNumber)
{
    return {kTry, {fold, token, tryNumber}};
}

AttachedStatement runEnd(const QString &fold, qint64 token, const proof::Digest &seed)
{
    return {kRunEnd, {fold, token, blob(seed)}};
}

AttachedStatement seriesRow(const QString &fold, proof::RowKind kind, qint64 timeMs, qint64 tries,
                            qint64 game, qint64 deck)
{
    return {kSeries, {fold, qint64(kind), timeMs, tries, game, deck}};
}

} // namespace history::chain
