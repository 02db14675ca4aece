#include "StoreReader.h"

#include "SettingsStore.h"
#include "StoreFiles.h"
#include "StorePath.h"
#include "StoreSql.h"

#include <QFile>

#include <sqlite3.h>

#include <utility>

namespace {

// How long a read waits while the program holds the file for a write (ms).
constexpr int kReadBusyTimeoutMs = 2000;

} // namespace

StoreReader::StoreReader(QString filePath) : m_filePath(std::move(filePath)) {}

StoreReader::~StoreReader()
{
    sqlite3_close_v2(m_db);
}

bool StoreReader::open(QString *reason)
{
    // Looked at before anything opens it: opening a FIFO for reading would wait for a writer.
    const StorePathState state = classifyStorePath(m_filePath);
    if (state.kind == StorePathKind::Missing) {
        *reason = QStringLiteral("no store at %1").arg(m_filePath);
        return false;
    }
    if (const QString problem = storePathProblem(state); !problem.isEmpty()) {
        *reason = QStringLiteral("%1: %2").arg(m_filePath, problem);
        return false;
    }
    const int rc =
        sqlite3_open_v2(QFile::encodeName(m_filePath).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
    QString tables;
    if (rc != SQLITE_OK) {
        *reason = lastError();
    } else {
        sqlite3_busy_timeout(m_db, kReadBusyTimeoutMs);
        // Reading the schema tells a database from any other file. A database without tables (a
        // zero-length file included) is a store that was never written, as the windows take it.
        if (storesql::execScalar(m_db, "SELECT count(*) FROM sqlite_schema WHERE type = 'table'", &tables) !=
            SQLITE_OK)
            *reason = lastError();
        else if (!hasTable("setting") && tables != QLatin1String("0"))
            *reason = QStringLiteral("not a settings store");
        else
            return true;
    }
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    return false;
}

bool StoreReader::beginSnapshot()
{
    return storesql::execScalar(m_db, "BEGIN") == SQLITE_OK &&
           storesql::execScalar(m_db, "SELECT count(*) FROM sqlite_schema") == SQLITE_OK;
}

void StoreReader::endSnapshot()
{
    sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
}

std::optional<QString> StoreReader::lookup(const QString &application, const QString &section,
                                           const QString &key)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db,
                           "SELECT value FROM setting WHERE application_fold = ?1 AND section_fold = ?2"
                           " AND key_fold = ?3",
                           -1, &statement, nullptr) != SQLITE_OK)
        return std::nullopt;
    storesql::bindText(statement, 1, SettingsStore::foldName(application));
    storesql::bindText(statement, 2, SettingsStore::foldName(section));
    storesql::bindText(statement, 3, SettingsStore::foldName(key));
    std::optional<QString> value;
    if (sqlite3_step(statement) == SQLITE_ROW)
        value = storesql::columnText(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

bool StoreReader::hasTable(const char *name)
{
    if (!m_db)
        return false;
    sqlite3_stmt *statement = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(m_db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1", -1,
                           &statement, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, name, -1, SQLITE_STATIC);
        found = sqlite3_step(statement) == SQLITE_ROW;
    }
    sqlite3_finalize(statement);
    return found;
}

QString StoreReader::lastError() const
{
    if (!m_db)
        return QStringLiteral("out of memory");
    const int error = sqlite3_system_errno(m_db);
    if ((sqlite3_errcode(m_db) & 0xff) == SQLITE_CANTOPEN && error)
        return storefiles::systemReason(error);
    return QString::fromUtf8(sqlite3_errstr(sqlite3_errcode(m_db))) + QStringLiteral(" (") +
           QString::fromUtf8(sqlite3_errmsg(m_db)) + u')';
}
