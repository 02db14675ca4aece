#include "TryHistory.h"

#include "StoreNames.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreSql.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>

namespace {

const char *const kSelectTries =
    "SELECT t.time_ms, t.run_id, t.try, t.game, t.deck, t.blind, t.guess, t.target, t.layout, t.hit,"
    " t.response_ms FROM history_try t JOIN history_run r ON r.id = t.run_id"
    " WHERE r.section_fold = ?1 AND r.id >= ?2 AND (t.run_id > ?2 OR t.try > ?3) ORDER BY t.run_id, t.try";
const char *const kSelectRuns =
    "SELECT r.id, r.start_ms, e.end_ms, r.game, r.name FROM history_run r"
    " LEFT JOIN history_run_end e ON e.run_id = r.id WHERE r.section_fold = ?1 AND r.id >= ?2 ORDER BY r.id";

// Stored numbers outside what the program writes read as the nearest value it would have written.
history::Game gameFrom(qint64 value)
{
    return value == qint64(history::Game::FindHidden) ? history::Game::FindHidden : history::Game::Plain;
}

history::Deck deckFrom(qint64 value)
{
    return history::Deck(std::clamp<qint64>(value, 0, 2));
}

std::array<std::int8_t, 5> layoutFrom(qint64 packed)
{
    std::array<std::int8_t, 5> layout{};
    for (int position = 4; position >= 0; --position, packed /= 10)
        layout[size_t(position)] = std::int8_t(packed % 10);
    return layout;
}

// Runs a prepared query for the folded account name and the position after which to read (?2 the
// run, ?3 the try within it, where the query asks for them), handing each row to onRow.
template <typename OnRow>
bool eachRow(sqlite3 *db, const char *sql, const QString &folded, const history::TryPosition &after,
             OnRow onRow)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        return false;
    storesql::bindText(statement, 1, folded);
    sqlite3_bind_int64(statement, 2, after.runId);
    if (sqlite3_bind_parameter_count(statement) >= 3)
        sqlite3_bind_int(statement, 3, after.tryNumber);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        onRow(statement);
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

} // namespace

TryHistory::TryHistory(QString filePath) : m_reader(std::move(filePath)) {}

bool TryHistory::open(QString *reason)
{
    return m_reader.open(reason);
}

std::optional<history::AccountHistory> TryHistory::account(const QString &userName, QString *reason,
                                                           const history::TryPosition &after)
{
    if (!m_reader.connection() || !m_reader.beginSnapshot()) {
        *reason = m_reader.lastError();
        return std::nullopt;
    }
    history::AccountHistory account;
    const QString name = m_reader.lookup(history::kAccountsApplication, userName, history::kUserNameKey)
                             .value_or(history::kNoAccount);
    bool read = name != history::kNoAccount;
    if (!read) {
        *reason = QStringLiteral("no account named \"%1\"").arg(userName);
    } else {
        account.userName = name;
        const auto count = [&](const QString &key) {
            return int(
                readCount(m_reader.lookup(history::kAccountsApplication, userName, key).value_or(QString())));
        };
        account.storedTries = count(history::kTriesKey);
        account.storedHits = count(history::kHitsKey);
        const QString folded = SettingsStore::foldName(userName);
        if (m_reader.hasTable("history_try")) {
            read = readTries(folded, after, &account) && readRuns(folded, after, &account);
            if (!read)
                *reason = m_reader.lastError();
        }
    }
    m_reader.endSnapshot();
    if (!read)
        return std::nullopt;
    int recordedHits = 0;
    for (const history::TryRecord &record : account.tries)
        recordedHits += record.hit ? 1 : 0;
    account.beforeHistoryTries = std::max(0, account.storedTries - int(account.tries.size()));
    account.beforeHistoryHits = std::max(0, account.storedHits - recordedHits);
    return account;
}

bool TryHistory::readTries(const QString &folded, const history::TryPosition &after,
                           history::AccountHistory *account)
{
    return eachRow(m_reader.connection(), kSelectTries, folded, after, [&](sqlite3_stmt *row) {
        history::TryRecord record;
        record.timeUtcMs = sqlite3_column_int64(row, 0);
        record.runId = sqlite3_column_int64(row, 1);
        record.tryNumber = sqlite3_column_int(row, 2);
        record.game = gameFrom(sqlite3_column_int64(row, 3));
        record.deck = deckFrom(sqlite3_column_int64(row, 4));
        record.blind = sqlite3_column_int(row, 5) != 0;
        record.guess = sqlite3_column_int(row, 6);
        record.target = sqlite3_column_int(row, 7);
        if (sqlite3_column_type(row, 8) == SQLITE_INTEGER)
            record.layout = layoutFrom(sqlite3_column_int64(row, 8));
        record.hit = sqlite3_column_int(row, 9) != 0;
        if (sqlite3_column_type(row, 10) == SQLITE_INTEGER)
            record.responseMs = sqlite3_column_int64(row, 10);
        account->tries.push_back(record);
    });
}

bool TryHistory::readRuns(const QString &folded, const history::TryPosition &after,
                          history::AccountHistory *account)
{
    std::map<std::int64_t, size_t> runIndex;
    const bool read = eachRow(m_reader.connection(), kSelectRuns, folded, after, [&](sqlite3_stmt *row) {
        history::RunRecord run;
        run.id = sqlite3_column_int64(row, 0);
        run.startUtcMs = sqlite3_column_int64(row, 1);
        run.endUtcMs = sqlite3_column_type(row, 2) == SQLITE_INTEGER ? sqlite3_column_int64(row, 2) : 0;
        run.game = gameFrom(sqlite3_column_int64(row, 3));
        run.userName = storesql::columnText(row, 4);
        runIndex[run.id] = account->runs.size();
        account->runs.push_back(std::move(run));
    });
    for (const history::TryRecord &record : account->tries) {
        const auto found = runIndex.find(record.runId);
        if (found == runIndex.end())
            continue;
        history::RunRecord &run = account->runs[found->second];
        ++run.tries;
        run.hits += record.hit ? 1 : 0;
        if (std::find(run.decks.begin(), run.decks.end(), record.deck) == run.decks.end())
            run.decks.push_back(record.deck);
        // A run the program never ended (it was stopped) ends with its last try.
        run.endUtcMs = std::max(run.endUtcMs, record.timeUtcMs);
    }
    return read;
}
