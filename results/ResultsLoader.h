#pragma once

#include "ResultsRecord.h"

#include <QString>

#include <memory>

class TryHistory;

namespace results {

// Reads an account's record for the Results window out of the settings file (read only, like the
// command line): the stored totals, which are the whole record, and the try history that explains
// them. Keeps the file open, so the update after each counted try reads only the new tries.
class ResultsLoader
{
public:
    // storePath: the settings file; empty for the user's own.
    explicit ResultsLoader(QString storePath = {});
    ~ResultsLoader();
    ResultsLoader(const ResultsLoader &) = delete;
    ResultsLoader &operator=(const ResultsLoader &) = delete;

    // The account's record; userName is matched without regard to letter case, as at the login. A
    // file that cannot be read gives an empty record that says why.
    ResultsRecord load(const QString &userName);
    // Takes in what was recorded since the record was loaded or last refreshed; false when nothing
    // changed.
    bool refresh(ResultsRecord &record);
    // Writes the account's whole try history as the command line's --export-csv does (the same
    // file). On failure *reason says why, and no partial file is left.
    bool exportCsv(const QString &userName, const QString &path, QString *reason);

    // The record of an account already read (the command line's summary is the window's).
    static ResultsRecord recordOf(const history::AccountHistory &account);
    // Adds what the account read holds beyond the record's last try, and takes its totals.
    static void takeIn(ResultsRecord &record, const history::AccountHistory &account);

private:
    TryHistory *history(QString *reason);
    QString storePath() const;

    QString m_storePath;
    std::unique_ptr<TryHistory> m_history;
};

} // namespace results
