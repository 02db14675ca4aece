// The tables other parts of the program keep in the settings file: brought up to date before the
// first write of each connection, whatever state a restored or hand-edited file left them in.
#include "SettingsStore.h"

#include "StoreSql.h"

#include <sqlite3.h>

using storesql::execScalar;

void SettingsStore::setSchema(StoreSchema schema)
{
    m_schema = std::move(schema);
    m_schemaDue = true;
    // A connection opened before the schema came needs its functions too, or the schema's own
    // statements would fail to compile and the file would look as if it could not be brought up to
    // date.
    if (m_db && m_schema.functions)
        m_schema.functions(m_db);
}

// The first schema check the file fails, with SQLite's reason; empty when it passes them all.
QString SettingsStore::failedSchemaCheck() const
{
    for (const QByteArray &sql : m_schema.checks) {
        sqlite3_stmt *statement = nullptr;
        const int rc = sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &statement, nullptr);
        sqlite3_finalize(statement);
        if (rc != SQLITE_OK)
            return QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    return {};
}

int SettingsStore::migrateIfDue(SqlError *error)
{
    const size_t latest = m_schema.migrations.size();
    if (!m_schemaDue || latest == 0) {
        m_schemaDue = false;
        return SQLITE_OK;
    }
    // A read first: a file already up to date costs no write lock, so a new connection taken while
    // another copy of the program writes does not wait for it twice.
    QString version;
    int rc = execScalar(m_db, "PRAGMA user_version", &version);
    if (rc == SQLITE_OK && size_t(version.toInt()) >= latest &&
        (size_t(version.toInt()) > latest || failedSchemaCheck().isEmpty())) {
        m_schemaDue = false;
        return SQLITE_OK;
    }
    if (rc == SQLITE_OK)
        rc = execScalar(m_db, "BEGIN IMMEDIATE");
    if (rc == SQLITE_OK)
        rc = execScalar(m_db, "PRAGMA user_version", &version);
    // Up to date by its version but missing a table (dropped by hand): every step again, since each
    // makes only what is missing.
    size_t step = size_t(version.toInt());
    if (step == latest && !failedSchemaCheck().isEmpty())
        step = 0;
    // All steps due in one transaction: a file is at one version or the next, never in between.
    for (; rc == SQLITE_OK && step < latest; ++step) {
        rc = sqlite3_exec(m_db, m_schema.migrations[step].constData(), nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = execScalar(
                m_db,
                QByteArray("PRAGMA user_version = " + QByteArray::number(qulonglong(step + 1))).constData());
    }
    // A step SQLite refuses for the file's own content, or tables still of another shape, would be
    // refused again at every write: the file cannot be brought up and is set aside.
    QString unusable = rc == SQLITE_ERROR ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
    if (rc == SQLITE_OK && size_t(version.toInt()) <= latest)
        unusable = failedSchemaCheck();
    if (!unusable.isEmpty()) {
        commitOrRollBack(SQLITE_ERROR, nullptr);
        if (error)
            *error = {kUnusableSchema, 0, unusable};
        return kUnusableSchema;
    }
    rc = commitOrRollBack(rc, error);
    if (rc != SQLITE_OK)
        return rc;
    m_schemaDue = false;
    return SQLITE_OK;
}
