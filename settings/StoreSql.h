#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// The few SQLite calls the store makes everywhere, with text passed by explicit byte length (values
// may hold NUL characters).
namespace storesql {

void bindText(sqlite3_stmt *statement, int index, const QString &text);
QString columnText(sqlite3_stmt *statement, int column);
// Runs one statement that may return rows; firstValue receives the first column of the first row.
int execScalar(sqlite3 *db, const char *sql, QString *firstValue = nullptr);

} // namespace storesql
