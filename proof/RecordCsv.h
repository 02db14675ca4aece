#pragma once

#include "RecordChain.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The chained record in the exported CSV file, and read back from it for checking without the store.
// Every row of the chain is a line, in record order: tries (kind "try"), and the rows of kinds
// "run-start", "run-end", "series", "series-end", whose unused columns are empty. Tries from before
// the chain come first, with an empty chain column. Columns are found by their names in the header,
// so columns added elsewhere (such as `valid`) change nothing here.
namespace proof {

// The columns the chain adds at the end of a line: kind,commitment,seed,chain
QStringList chainCsvColumns();
// kind; commitment (run-start) and seed (run-end) as 64 hex digits, empty otherwise; the chain value.
QStringList chainCsvFields(const ChainRow &row);

// A whole line (CRLF ended) with the export's columns
// time_utc,account,run,try,game,deck,blind,guess,target,layout,hit,response_ms,kind,commitment,seed,chain
// for any kind of row; a try's first twelve fields are those the try export writes.
QString recordCsvHeader();
QString recordCsvLine(const QString &account, const ChainRow &row);

struct CsvRecord
{
    QString account;            // as written, with the export's formula guard taken off
    std::vector<ChainRow> rows; // in file order
    QString error;              // why the file cannot be read at all; empty when read
};

// Reads an exported file. A field that cannot be read (text in a number column, a malformed time)
// gives the value -2^63, so its row cannot match its chain value.
CsvRecord readRecordCsv(const QByteArray &text);

} // namespace proof
