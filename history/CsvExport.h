#pragma once

#include "HistoryTypes.h"

#include <QString>

// Every recorded try of an account as a CSV file: RFC 4180 (CRLF line ends, fields quoted where they
// hold a comma, quote or line break), UTF-8, times ISO 8601 UTC ending in Z. Columns:
// time_utc,account,run,try,game,deck,blind,guess,target,layout,hit,response_ms
// (blind and hit 0/1; layout the faces at positions 1..5, e.g. 31524, empty in the plain game;
// response_ms empty when not known).
namespace history {

QString csvHeader();
QString csvRow(const QString &account, const TryRecord &record);
// Escapes one field as RFC 4180 wants it.
QString csvField(const QString &text);

// Writes the file atomically: it is either complete or not there (an earlier file stays as it was).
// False, with the reason, when it cannot be written.
bool exportCsv(const QString &filePath, const AccountHistory &account, QString *reason);

} // namespace history
