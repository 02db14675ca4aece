#pragma once

#include "HistoryTypes.h"

#include "settings/StoreReader.h"

#include <QString>

#include <map>
#include <optional>

// Reads accounts' records out of a settings file without changing it (read only: no password is
// needed, the file belongs to the operating-system user already). A file written before the history
// existed reads as an empty history; its totals then count entirely as before the history began.
// Each account is read from one consistent snapshot, even while the program writes. Every row is
// checked as it is read: a row that cannot be true goes to AccountHistory::rejected, never into the
// tries, runs or counts.
class TryHistory
{
public:
    // filePath: the settings file (SettingsStore::defaultFilePath() for the user's own).
    explicit TryHistory(QString filePath);

    // False, with the reason in words, when the file is missing, unreadable or not a settings store.
    bool open(QString *reason);

    // The account named userName (matched without regard to case, as at login), or std::nullopt,
    // with the reason, when there is no such account or the file cannot be read. Given a position,
    // only the tries recorded after it and the runs from its run on are read (a window that keeps up
    // with a long record reads only what is new); the totals are read whole either way, while the
    // runs' counts and the counts before the history then stand for the tries read.
    std::optional<history::AccountHistory> account(const QString &userName, QString *reason,
                                                   const history::TryPosition &after = {});

private:
    bool readTries(const QString &folded, const history::TryPosition &after,
                   history::AccountHistory *account);
    bool readRuns(const QString &folded, const history::TryPosition &after, history::AccountHistory *account);
    bool readBaseline(const QString &folded, history::AccountHistory *account);
    // Counts the runs, sets aside the tries of runs that cannot be true, and the counts before the history.
    void settle(history::AccountHistory *account);

    StoreReader m_reader;
    std::map<std::int64_t, QString> m_runProblems; // run id -> why it cannot be true, for one read
};
