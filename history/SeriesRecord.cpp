#include "SeriesRecord.h"

#include "TryHistory.h"

#include "settings/SettingsStore.h"
#include "settings/StoreReader.h"
#include "settings/StoreSql.h"

#include <sqlite3.h>

#include <algorithm>

namespace history {

namespace {

const char *const kSelectSeries = "SELECT declared_ms, tries, game, deck, ended_early_ms FROM history_series"
                                  " WHERE section_fold = ?1 ORDER BY declared_ms, id";

// The declarations of the account; rows that cannot be true (a length outside 1..10 000, an unknown
// game or deck) are left out, as the tries' checks leave out such tries.
bool readDeclarations(StoreReader &reader, const QString &folded, std::vector<SeriesDeclaration> *out)
{
    if (!reader.hasTable("history_series"))
        return true;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(reader.connection(), kSelectSeries, -1, &statement, nullptr) != SQLITE_OK)
        return false;
    storesql::bindText(statement, 1, folded);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        SeriesDeclaration row;
        row.declaredMs = sqlite3_column_int64(statement, 0);
        row.length = sqlite3_column_int(statement, 1);
        const int game = sqlite3_column_int(statement, 2);
        const int deck = sqlite3_column_int(statement, 3);
        if (row.length < 1 || row.length > 10000 || game < 1 || game > 2 || deck < 0 || deck > 2)
            continue;
        row.game = Game(game);
        row.deck = Deck(deck);
        if (sqlite3_column_type(statement, 4) == SQLITE_INTEGER)
            row.endedEarlyMs = sqlite3_column_int64(statement, 4);
        out->push_back(row);
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

} // namespace

std::vector<SeriesCount> countSeries(const std::vector<SeriesDeclaration> &declared,
                                     const std::vector<TimedHit> &tries)
{
    std::vector<SeriesCount> counted;
    counted.reserve(declared.size());
    for (const SeriesDeclaration &series : declared) {
        SeriesCount count{series, 0, 0};
        // Tries are in record order; the first one after the declaration opens the series.
        auto next = std::upper_bound(tries.begin(), tries.end(), series.declaredMs,
                                     [](std::int64_t ms, const TimedHit &t) { return ms < t.timeMs; });
        for (; next != tries.end() && count.tried < series.length; ++next) {
            if (series.endedEarlyMs && next->timeMs > *series.endedEarlyMs)
                break;
            ++count.tried;
            count.hits += next->hit ? 1 : 0;
        }
        counted.push_back(count);
    }
    return counted;
}

std::optional<SeriesCount> openSeries(const std::vector<SeriesCount> &series)
{
    if (series.empty() || series.back().closed())
        return std::nullopt;
    return series.back();
}

std::optional<std::vector<SeriesCount>> readSeries(const QString &filePath, const QString &userName,
                                                   QString *reason)
{
    TryHistory history(filePath);
    if (!history.open(reason))
        return std::nullopt;
    const std::optional<AccountHistory> account = history.account(userName, reason);
    if (!account)
        return std::nullopt;
    StoreReader reader(filePath);
    std::vector<SeriesDeclaration> declared;
    if (!reader.open(reason) || !reader.beginSnapshot())
        return std::nullopt;
    const bool read = readDeclarations(reader, SettingsStore::foldName(account->userName), &declared);
    reader.endSnapshot();
    if (!read) {
        if (reason)
            *reason = reader.lastError();
        return std::nullopt;
    }
    std::vector<TimedHit> tries;
    tries.reserve(account->tries.size());
    for (const TryRecord &t : account->tries)
        tries.push_back({t.timeUtcMs, t.hit});
    std::stable_sort(tries.begin(), tries.end(),
                     [](const TimedHit &a, const TimedHit &b) { return a.timeMs < b.timeMs; });
    return countSeries(declared, tries);
}

} // namespace history
