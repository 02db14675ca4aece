// What the store does with a file it cannot use: read out what it still can, move the file aside
// under a timestamped name, and say why in words the user can act on.
#include "SettingsStore.h"

#include "StoreFaultText.h"
#include "StoreFiles.h"
#include "StoreSql.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using storesql::columnText;

std::vector<SettingsStore::Entry> SettingsStore::salvageEntries()
{
    if (!m_db)
        return {};
    // Read only, and past a page count that no longer matches the file (a cut-off file).
    sqlite3_exec(m_db, "PRAGMA query_only = ON", nullptr, nullptr, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_WRITABLE_SCHEMA, 1, nullptr);
    // A damaged page ends a scan; walking the table itself (not its index, which may be the damaged
    // part) from both ends reads everything on either side of it.
    std::map<FoldedKey, Entry> found;
    for (const char *sql : {"SELECT application, section, key, value FROM setting ORDER BY rowid",
                            "SELECT application, section, key, value FROM setting ORDER BY rowid DESC"}) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(statement);
            break;
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            Entry entry{columnText(statement, 0), columnText(statement, 1), columnText(statement, 2),
                        columnText(statement, 3)};
            found.try_emplace(PendingWrites::foldedKey(entry), std::move(entry));
        }
        sqlite3_finalize(statement);
    }
    std::vector<Entry> entries;
    entries.reserve(found.size());
    for (auto &item : found)
        entries.push_back(std::move(item.second));
    return entries;
}

bool SettingsStore::recoverFromDamage(const QString &reason)
{
    std::vector<Entry> salvaged = salvageEntries();
    QList<AttachedStatement> rows =
        m_db && m_schema.salvage ? m_schema.salvage(m_db) : QList<AttachedStatement>();
    // Closing must not copy the -wal into the file: both are kept exactly as found.
    if (m_db)
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    return setAside(reason, std::move(salvaged), std::move(rows));
}

QString SettingsStore::freeAsideName() const
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base = m_filePath + QStringLiteral(".unusable-") + stamp;
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : base + u'-' + QString::number(n);
        // The file's -wal and -shm follow it, so their names must be free as well.
        if (!storefiles::exists(name) && !storefiles::exists(name + QStringLiteral("-wal")) &&
            !storefiles::exists(name + QStringLiteral("-shm")))
            return name;
    }
}

void SettingsStore::keepOrphanedLog()
{
    // A -wal without its file is left when the program stopped between moving a damaged file and its
    // -wal aside. SQLite would replay it into the new file, so it goes aside as well.
    const QString aside = freeAsideName();
    bool moved = false;
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (storefiles::exists(m_filePath + suffix))
            moved |= storefiles::renameNoReplace(m_filePath + suffix, aside + suffix) == 0;
    }
    if (moved)
        storefiles::syncFolder(QFileInfo(m_filePath).absolutePath());
}

bool SettingsStore::setAside(const QString &reason, std::vector<Entry> salvaged,
                             QList<AttachedStatement> salvagedRows)
{
    closeConnection();
    QString aside;
    int error = EEXIST;
    // Another copy of the program may take the same name at the same moment: then take the next.
    for (int attempt = 0; attempt < 10 && error == EEXIST; ++attempt) {
        aside = freeAsideName();
        error = storefiles::renameNoReplace(m_filePath, aside);
    }
    // The -wal holds committed entries not yet copied into the file: it must stay with the file, and
    // left here it would be replayed into the new file.
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (error == 0 && storefiles::exists(m_filePath + suffix))
            error = storefiles::renameNoReplace(m_filePath + suffix, aside + suffix);
    }
    if (error != 0) {
        reportStreakFault(
            storetext::kCannotSetAside.arg(m_filePath, reason, storefiles::systemReason(error)));
        return false;
    }
    storefiles::syncFolder(QFileInfo(m_filePath).absolutePath());

    QString message = storetext::kSetAside.arg(m_filePath, reason, aside);
    if (!salvaged.empty())
        message += storetext::kSalvaged.arg(salvaged.size());
    // Entries that failed to save in this session are newer than anything read from the old file:
    // the salvaged ones go first, and only where nothing newer is kept.
    if (!salvaged.empty() || !salvagedRows.isEmpty())
        m_pending.keepOldest(PendingWrites::makeWrite(std::move(salvaged), std::move(salvagedRows)));
    reportFault(message);
    return true;
}

QString SettingsStore::readOnlyReason() const
{
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (!storefiles::writableByUs(folder))
        return storetext::kReasonReadOnlyFolder.arg(folder);
    return storetext::kReasonReadOnlyFile;
}

QString SettingsStore::describe(const SqlError &error) const
{
    if (error.code == kNotSettingsFile)
        return storetext::kReasonNotSettings;
    if (error.code == kUnwritableFormat)
        return storetext::kReasonUnwritableFormat;
    if (error.code == kUnreadableFormat)
        return storetext::kReasonUnreadableFormat;
    if (error.code == kUnusableSchema)
        return storetext::kReasonUnusableTables.arg(error.message);
    const QString system = error.systemErrno ? storefiles::systemReason(error.systemErrno) : error.message;
    switch (error.code & 0xff) {
    case SQLITE_NOTADB:
        return storetext::kReasonNotDatabase;
    case SQLITE_CORRUPT:
        return storetext::kReasonDamaged.arg(error.message.section(u'\n', 0, 0));
    case SQLITE_FULL:
        return storetext::kReasonDiskFull;
    case SQLITE_READONLY:
        return readOnlyReason();
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return storetext::kReasonBusy;
    case SQLITE_CANTOPEN:
        if (error.systemErrno == EROFS ||
            ((error.systemErrno == EACCES || error.systemErrno == EPERM) && storefiles::exists(m_filePath) &&
             !storefiles::writableByUs(QFileInfo(m_filePath).absolutePath())))
            return readOnlyReason();
        return storetext::kReasonCannotOpen.arg(system);
    case SQLITE_IOERR:
        if (error.systemErrno == ENOSPC || error.systemErrno == EDQUOT)
            return storetext::kReasonDiskFull;
        return storetext::kReasonDiskError.arg(error.systemErrno ? system : error.message);
    default:
        return error.message;
    }
}
