#include "StoreSql.h"

#include <QByteArray>

#include <sqlite3.h>

namespace storesql {

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    // Explicit byte length: values may hold NUL characters.
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text64(statement, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
}

QString columnText(sqlite3_stmt *statement, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

int execScalar(sqlite3 *db, const char *sql, QString *firstValue)
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    bool first = true;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (first && firstValue)
            *firstValue = columnText(statement, 0);
        first = false;
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

} // namespace storesql
