#include "TryHistory.h"

#include "RecordCheck.h"
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
    "SELECT r.id, r.start_ms, e.end_ms, r.game, r.name, e.run_id FROM history_run r"
    " LEFT JOIN history_run_end e ON e.run_id = r.id WHERE r.section_fold = ?1 AND r.id >= ?2 ORDER BY r.id";
const char *const kSelectBaseline =
    "SELECT tries_before, hits_before FROM history_account WHERE section_fold = ?1";

// The column as a whole number; nothing where it holds text, a fraction or no value.
std::optional<std::int64_t> integer(sqlite3_stmt *row, int column)
{
    if (sqlite3_column_type(row, column) != SQLITE_INTEGER)
        return std::nullopt;
    return sqlite3_column_int64(row, column);
}

history::StoredTry storedTry(sqlite3_stmt *row)
{
    history::StoredTry stored;
    stored.timeMs = integer(row, 0);
    stored.tryNumber = integer(row, 2);
    stored.game = integer(row, 3);
    stored.deck = integer(row, 4);
    stored.blind = integer(row, 5);
    stored.guess = integer(row, 6);
    stored.target = integer(row, 7);
    stored.layout = integer(row, 8);
    stored.layoutEmpty = sqlite3_column_type(row, 8) == SQLITE_NULL;
    stored.hit = integer(row, 9);
    stored.responseMs = integer(row, 10);
    stored.responseEmpty = sqlite3_column_type(row, 10) == SQLITE_NULL;
    return stored;
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
            read = readRuns(folded, after, &account) && readTries(folded, after, &account) &&
                   readBaseline(folded, &account);
            if (!read)
                *reason = m_reader.lastError();
        }
    }
    m_reader.endSnapshot();
    if (!read)
        return std::nullopt;
    settle(&account);
    return account;
}

bool TryHistory::readBaseline(const QString &folded, history::AccountHistory *account)
{
    if (!m_reader.hasTable("history_account"))
        return true;
    return eachRow(m_reader.connection(), kSelectBaseline, folded, {}, [&](sqlite3_stmt *row) {
        const std::optional<std::int64_t> tries = integer(row, 0);
        const std::optional<std::int64_t> hits = integer(row, 1);
        if (tries && hits)
            account->baseline = history::Baseline{*tries, *hits};
    });
}

bool TryHistory::readTries(const QString &folded, const history::TryPosition &after,
                           history::AccountHistory *account)
{
    return eachRow(m_reader.connection(), kSelectTries, folded, after, [&](sqlite3_stmt *row) {
        const history::StoredTry stored = storedTry(row);
        const std::int64_t runId = sqlite3_column_int64(row, 1);
        QString why = history::whyImpossible(stored);
        if (const auto run = m_runProblems.find(runId); why.isEmpty() && run != m_runProblems.end())
            why = run->second;
        if (why.isEmpty())
            account->tries.push_back(history::tryRecord(stored, runId));
        else
            account->rejected.push_back({history::tryRecord(stored, runId), why});
    });
}

bool TryHistory::readRuns(const QString &folded, const history::TryPosition &after,
                          history::AccountHistory *account)
{
    m_runProblems.clear();
    return eachRow(m_reader.connection(), kSelectRuns, folded, after, [&](sqlite3_stmt *row) {
        history::RunRecord run;
        run.id = sqlite3_column_int64(row, 0);
        const std::optional<std::int64_t> start = integer(row, 1);
        // A run the program never ended (it was stopped) has no end row.
        const bool ended = sqlite3_column_type(row, 5) != SQLITE_NULL;
        const std::optional<std::int64_t> end = ended ? integer(row, 2) : std::optional<std::int64_t>();
        QString why = ended && !end ? QStringLiteral("its run's end is not a time")
                                    : history::whyImpossibleRun(start, end, 0, 0);
        if (!why.isEmpty())
            m_runProblems[run.id] = why;
        run.startUtcMs = start.value_or(0);
        run.endUtcMs = end.value_or(0);
        run.game = sqlite3_column_int64(row, 3) == qint64(history::Game::FindHidden)
                       ? history::Game::FindHidden
                       : history::Game::Plain;
        run.userName = storesql::columnText(row, 4);
        account->runs.push_back(std::move(run));
    });
}

void TryHistory::settle(history::AccountHistory *account)
{
    std::map<std::int64_t, history::RunRecord *> runs;
    for (history::RunRecord &run : account->runs)
        runs[run.id] = &run;
    for (const history::TryRecord &record : account->tries) {
        history::RunRecord &run = *runs.at(record.runId);
        ++run.tries;
        run.hits += record.hit ? 1 : 0;
        if (std::find(run.decks.begin(), run.decks.end(), record.deck) == run.decks.end())
            run.decks.push_back(record.deck);
        // A run the program never ended (it was stopped) ends with its last try.
        run.endUtcMs = std::max(run.endUtcMs, record.timeUtcMs);
    }
    // A run with more hits than the account has ever had cannot be true: none of its tries counts.
    for (const history::RunRecord &run : account->runs) {
        const QString why =
            history::whyImpossibleRun(run.startUtcMs, std::nullopt, run.hits, account->storedHits);
        if (!why.isEmpty())
            m_runProblems[run.id] = why;
    }
    const auto rejectedRun = [&](const history::TryRecord &record) {
        return m_runProblems.count(record.runId) > 0;
    };
    for (const history::TryRecord &record : account->tries) {
        if (rejectedRun(record))
            account->rejected.push_back({record, m_runProblems.at(record.runId)});
    }
    std::erase_if(account->tries, rejectedRun);
    std::erase_if(account->runs, [&](const history::RunRecord &run) {
        return m_runProblems.count(run.id) > 0 || run.tries == 0;
    });
    std::sort(account->rejected.begin(), account->rejected.end(), [](const auto &a, const auto &b) {
        return a.record.runId != b.record.runId ? a.record.runId < b.record.runId
                                                : a.record.tryNumber < b.record.tryNumber;
    });

    const history::TotalsCheck check = history::checkTotals(*account);
    account->beforeHistoryTries = int(std::clamp<std::int64_t>(check.beforeTries, 0, INT32_MAX));
    account->beforeHistoryHits = int(std::clamp<std::int64_t>(check.beforeHits, 0, INT32_MAX));
}
