#pragma once

#include "HistoryTypes.h"

#include <QString>

#include <optional>

// Every recorded try of an account as a CSV file: RFC 4180 (CRLF line ends, fields quoted where they
// hold a comma, quote or line break), UTF-8, times ISO 8601 UTC ending in Z. Columns:
// time_utc,account,run,try,game,deck,blind,guess,target,layout,hit,response_ms,valid
// (blind and hit 0/1; layout the faces at positions 1..5, e.g. 31524, empty in the plain game;
// response_ms empty when not known; valid 0 for a row that cannot be true, kept so nothing on
// record is hidden, 1 otherwise). A text field that starts with = + - @ Tab or CR is written with a
// leading single quote, so a spreadsheet shows it instead of running it as a formula.
namespace history {

QString csvHeader();
QString csvRow(const QString &account, const TryRecord &record, bool valid = true);
// Escapes one text field: the formula quote, then RFC 4180's quoting.
QString csvField(const QString &text);

// The path that means standard output.
inline const QString kStandardOutput = QStringLiteral("-");

// Why the export must not write to filePath, or nothing when it may: the settings file, its
// companions and anything else in its folder would be destroyed by the export, and a path that
// exists but is not a regular file (a folder, FIFO, device, socket or dangling link) would be
// replaced by one. The one rule for the command line and the Results window.
std::optional<QString> exportRefusal(const QString &filePath, const QString &storePath);

// Writes the account's tries to filePath, or to standard output for kStandardOutput, after asking
// exportRefusal. A file is written atomically: it is either complete or not there (an earlier file
// stays as it was). False, with the reason in words, when it may not or cannot be written.
bool exportCsv(const QString &filePath, const QString &storePath, const AccountHistory &account,
               QString *reason);

} // namespace history
