#pragma once

#include "ResultsRecord.h"

#include <QString>

// Fills a ResultsData from the store: the stored totals are the whole record, the try history
// explains them (runs, splits, charts).
namespace results {

// The account's record; userName is matched without regard to letter case, as at the login.
ResultsRecord loadResults(const QString &userName);
// Takes in what was recorded since the record was loaded or last refreshed; false when nothing changed.
bool refreshResults(ResultsRecord &record);
// Writes the account's try history as the command line's CSV export does. On failure *error says why
// and no partial file is left.
bool exportHistoryCsv(const QString &userName, const QString &path, QString *error);

} // namespace results
