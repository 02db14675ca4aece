// Finding, checking and opening the settings file: folders created private, a file that is not a
// settings store recognised before anything in it changes, and the ways in when it cannot be written.
#include "SettingsStore.h"

#include "StoreFaultText.h"
#include "StoreFiles.h"
#include "StorePath.h"
#include "StoreSql.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using storesql::execScalar;

namespace {

const char *const kCreateTable = "CREATE TABLE IF NOT EXISTS setting("
                                 " application TEXT NOT NULL,"
                                 " section TEXT NOT NULL,"
                                 " key TEXT NOT NULL,"
                                 " value TEXT NOT NULL,"
                                 " application_fold TEXT NOT NULL,"
                                 " section_fold TEXT NOT NULL,"
                                 " key_fold TEXT NOT NULL,"
                                 " PRIMARY KEY (application_fold, section_fold, key_fold))";
const char *const kSelect =
    "SELECT value FROM setting WHERE application_fold = ?1 AND section_fold = ?2 AND key_fold = ?3";
// A later write replaces only the value: the names keep the spelling of their first write.
const char *const kUpsert =
    "INSERT INTO setting (application, section, key, value, application_fold, section_fold, key_fold)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"
    " ON CONFLICT (application_fold, section_fold, key_fold) DO UPDATE SET value = excluded.value";

// Waits for another copy of the program in 1 ms steps, for as long as the wait allows: a window waits
// only briefly, since a write refused for a lock is kept and goes in with the next one. SQLite's own
// handler backs off to 100 ms sleeps, so a copy that writes often could keep the file to itself
// while the other slept.
int waitForOtherWriter(void *wait, int attempt)
{
    auto *busy = static_cast<StoreBusyWait *>(wait);
    if (attempt == 0)
        busy->since.start();
    if (busy->since.elapsed() >= busy->limitMs)
        return 0;
    sqlite3_sleep(1);
    return 1;
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

void SettingsStore::reportOpenFault(const QString &reason)
{
    m_refusals.lastReason = reason;
    reportStreakFault(storetext::kOpenFailed.arg(m_filePath, reason));
}

bool SettingsStore::ensureOpen()
{
    return m_db || open();
}

bool SettingsStore::open()
{
    QString reason;
    if (!prepareFolder(&reason)) {
        reportOpenFault(reason);
        return false;
    }
    // Each round either opens the file or moves one unusable thing out of the way.
    for (int round = 0; round < 4; ++round) {
        Round result = clearPath();
        if (result == Round::Opened)
            result = connectToFile();
        if (result != Round::Again)
            return result == Round::Opened;
    }
    return false;
}

SettingsStore::Round SettingsStore::clearPath()
{
    const StorePathState state = classifyStorePath(m_filePath);
    switch (state.kind) {
    case StorePathKind::Missing: {
        // Copies of the program starting at once may all find the file missing. Under one lock on
        // the folder, only a copy that still finds it missing sets an orphaned log aside and
        // creates the file, so no copy ever moves aside the live log of a file another has made.
        const storefiles::FolderLock lock(QFileInfo(m_filePath).absolutePath());
        if (storefiles::exists(m_filePath))
            return Round::Again;
        keepOrphanedLog();
        // Created here rather than by SQLite so that it never exists with a wider mode than 0600.
        const int fd =
            ::open(nativePath(m_filePath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) {
            reportOpenFault(storefiles::systemReason(errno));
            return Round::Failed;
        }
        if (fd >= 0) {
            ::close(fd);
            storefiles::syncFolder(QFileInfo(m_filePath).absolutePath());
        }
        return Round::Opened;
    }
    case StorePathKind::Unreachable:
        reportOpenFault(storefiles::systemReason(state.error));
        return Round::Failed;
    case StorePathKind::Empty:
    case StorePathKind::Regular:
        storefiles::tightenModes(m_filePath);
        return Round::Opened;
    default:
        // Nobody can help that from here; keep it for its owner and start afresh.
        return setAside(storePathProblem(state)) ? Round::Again : Round::Failed;
    }
}

SettingsStore::Round SettingsStore::connectToFile()
{
    SqlError error;
    bool connected = connect(Connect::ReadWrite, &error);
    if (!connected && isDamage(error.code))
        return recoverFromDamage(describe(error)) ? Round::Again : Round::Failed;
    // Not writable (a read-only file or folder, no room for the WAL index): read what it holds.
    const SqlError writeError = error;
    if (!connected)
        connected = connectForReading(&error);
    if (connected) {
        // A full disk refuses the writable connection too: say that, not that the file is read-only.
        if (m_readOnly && writeError.code != 0) {
            *m_readOnly = ReadOnly{describe(writeError), isLock(writeError.code)};
        }
        // Entries kept back by failed writes or saved from a damaged file go in at once.
        if (!m_readOnly && !m_pending.empty() && migrateIfDue(nullptr) == SQLITE_OK &&
            runWrite(nullptr, nullptr) == SQLITE_OK)
            m_pending.clear();
        return Round::Opened;
    }
    if ((error.code & 0xff) == SQLITE_NOTADB)
        return setAside(describe(error)) ? Round::Again : Round::Failed;
    closeConnection();
    // Another copy holding the lock a moment too long for even a reader: the write that needed the
    // file keeps its entries and the next one takes them along.
    if (isLock(writeError.code) && lockStillBrief()) {
        m_refusals.lastReason = describe(writeError);
        return Round::Failed;
    }
    reportOpenFault(describe(writeError));
    return Round::Failed;
}

bool SettingsStore::connectForReading(SqlError *error)
{
    // Only a header that is not a database counts as damage here: a connection that cannot write
    // may be unable to recover the WAL and then takes a sound file for a damaged one.
    storefiles::removeUnfinishedShm(m_filePath);
    bool connected = connect(Connect::ReadOnly, error);
    if (!connected)
        storefiles::removeUnfinishedShm(m_filePath);
    // In a read-only folder SQLite cannot create the WAL index when it is missing; with no WAL the
    // file is complete, and nobody can write it there, so reading it as immutable is sound.
    if (!connected && (error->code & 0xff) != SQLITE_NOTADB &&
        !storefiles::hasContent(m_filePath + QStringLiteral("-wal")))
        connected = connect(Connect::Immutable, error);
    return connected;
}

bool SettingsStore::connect(Connect mode, SqlError *error)
{
    closeConnection();
    QByteArray name = nativePath(m_filePath);
    int flags = mode == Connect::ReadWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    if (mode == Connect::Immutable) {
        name = QUrl::fromLocalFile(m_filePath).toEncoded() + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK)
        return failConnect(db, rc, QString::fromUtf8(sqlite3_errmsg(db)), error);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_handler(db, waitForOtherWriter, &m_busyWait);
    if (m_schema.functions)
        m_schema.functions(db);
    m_db = db;
    if (mode == Connect::ReadWrite && sqlite3_db_readonly(db, "main") == 1)
        return failConnect(db, SQLITE_READONLY, storetext::kReasonReadOnlyFile, error);
    bool hadTable = false;
    QString message;
    rc = checkSettingsFile(mode, &hadTable, &message);
    if (rc == SQLITE_OK && mode == Connect::ReadWrite)
        rc = prepareForWrites(hadTable, &message);
    if (rc != SQLITE_OK)
        return failConnect(db, rc, message, error);
    // A file that cannot be written and has no table yet is simply empty: reads find nothing.
    if (mode != Connect::ReadWrite)
        m_readOnly = ReadOnly{};
    return true;
}

bool SettingsStore::failConnect(sqlite3 *db, int code, const QString &message, SqlError *error)
{
    *error = {code, db ? sqlite3_system_errno(db) : 0, message};
    // A damaged file stays open so that salvageEntries() can read what is left in it; closing must
    // not checkpoint into it, since it is kept exactly as found.
    if (isDamage(code) && db) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        m_db = db;
    } else if (db == m_db) {
        closeConnection();
    } else {
        sqlite3_close_v2(db);
    }
    return false;
}

int SettingsStore::checkSettingsFile(Connect mode, bool *hadTable, QString *message)
{
    // Nothing in the file changes until it is known to be a sound settings store or an empty one:
    // a file that is set aside must be kept exactly as it was found. The full check (a few ms for a
    // thousand accounts) also compares the table with its index: a damaged index alone would let
    // lookups miss entries that are there.
    QString check;
    int rc = execScalar(m_db, "PRAGMA integrity_check", &check);
    if (rc != SQLITE_OK) {
        *message = QString::fromUtf8(sqlite3_errmsg(m_db));
        // A plain error before anything else is read: a header this SQLite does not understand
        // ("unsupported file format"). Only a writable connection's verdict is trusted.
        return rc == SQLITE_ERROR && mode == Connect::ReadWrite ? kUnreadableFormat : rc;
    }
    if (check != QLatin1String("ok")) {
        *message = check;
        return SQLITE_CORRUPT;
    }
    QString tables;
    if ((rc = execScalar(
             m_db,
             "SELECT count(*) || ' ' || count(CASE WHEN name = 'setting' THEN 1 END) FROM sqlite_schema"
             " WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
             &tables)) != SQLITE_OK) {
        *message = QString::fromUtf8(sqlite3_errmsg(m_db));
        return rc;
    }
    *hadTable = tables.section(u' ', 1) == QLatin1String("1");
    // Tables, but none of ours: another program's database.
    if (!*hadTable && tables.section(u' ', 0, 0) != QLatin1String("0")) {
        *message = tables;
        return kNotSettingsFile;
    }
    // A "setting" table with other columns belongs to something else too.
    if (*hadTable && !prepareStatements()) {
        *message = QString::fromUtf8(sqlite3_errmsg(m_db));
        const int code = sqlite3_errcode(m_db);
        return (code & 0xff) == SQLITE_ERROR ? kNotSettingsFile : code;
    }
    return SQLITE_OK;
}

int SettingsStore::prepareForWrites(bool hadTable, QString *message)
{
    int rc = execScalar(m_db, "PRAGMA synchronous = FULL");
    if (rc == SQLITE_OK) {
        rc = execScalar(m_db, "PRAGMA journal_mode = WAL");
        if (rc == SQLITE_OK && !hadTable && (rc = execScalar(m_db, kCreateTable)) == SQLITE_OK &&
            !prepareStatements())
            rc = sqlite3_errcode(m_db);
        rc = writeFailureCode(rc);
    }
    if (rc != SQLITE_OK)
        *message = QString::fromUtf8(sqlite3_errmsg(m_db));
    return rc;
}

int SettingsStore::writeFailureCode(int code) const
{
    // SQLite refuses to write a file whose header names a write format newer than its own. When the
    // file and its folder are writable that never changes: the file is treated like a damaged one
    // (set aside, its entries read out into a new file).
    if (code == SQLITE_READONLY && storefiles::writableByUs(m_filePath) &&
        storefiles::writableByUs(QFileInfo(m_filePath).absolutePath()))
        return kUnwritableFormat;
    return code;
}

bool SettingsStore::prepareStatements()
{
    return sqlite3_prepare_v3(m_db, kSelect, -1, SQLITE_PREPARE_PERSISTENT, &m_select, nullptr) ==
               SQLITE_OK &&
           sqlite3_prepare_v3(m_db, kUpsert, -1, SQLITE_PREPARE_PERSISTENT, &m_upsert, nullptr) == SQLITE_OK;
}

void SettingsStore::closeConnection()
{
    m_schemaDue = true;
    sqlite3_finalize(m_select);
    sqlite3_finalize(m_upsert);
    m_select = nullptr;
    m_upsert = nullptr;
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_readOnly.reset();
}

bool SettingsStore::prepareFolder(QString *reason)
{
    // Every missing folder on the way is created with mode 0700: the file holds password hashes.
    const QString folder = QFileInfo(m_filePath).absolutePath();
    const QStringList parts = folder.split(u'/', Qt::SkipEmptyParts);
    QString prefix;
    for (const QString &part : parts) {
        prefix += u'/' + part;
        const QByteArray native = nativePath(prefix);
        struct stat info = {};
        if (::stat(native.constData(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                *reason = storetext::kReasonPathNotFolder.arg(prefix);
                return false;
            }
            continue;
        }
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
            *reason = storetext::kReasonNoFolder.arg(prefix, storefiles::systemReason(errno));
            return false;
        }
    }
    return true;
}
