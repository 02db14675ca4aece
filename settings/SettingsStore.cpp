#include "SettingsStore.h"

#include "StoreFaultText.h"
#include "StoreFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a write waits for another copy of the program that holds the file (ms).
constexpr int kBusyTimeoutMs = 5000;

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

// Runs one statement that may return rows; returns the first column of the first row.
int execScalar(sqlite3 *db, const char *sql, QString *firstValue = nullptr)
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

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

SettingsStore::SettingsStore(QString filePath, Reporter reporter)
    : m_filePath(std::move(filePath)), m_reporter(std::move(reporter))
{
}

SettingsStore::~SettingsStore()
{
    if (!m_pending.empty()) {
        // A last try for entries whose write failed; nobody is left to tell when it fails again.
        m_reporter = [](const QString &message) { std::fprintf(stderr, "%s\n", qUtf8Printable(message)); };
        m_inFaultStreak = false;
        writeEntries({}, true);
    }
    closeConnection();
    deliverReports();
}

QString SettingsStore::defaultFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/qxOrvanta/settings.sqlite3");
}

QString SettingsStore::foldName(const QString &name)
{
    return name.toCaseFolded();
}

bool SettingsStore::isDamage(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || code == kNotSettingsFile ||
           code == kUnwritableFormat || code == kUnreadableFormat;
}

SettingsStore::FoldedKey SettingsStore::foldedKey(const Entry &entry)
{
    return {foldName(entry.application), foldName(entry.section), foldName(entry.key)};
}

std::optional<QString> SettingsStore::lookup(const QString &application, const QString &section,
                                             const QString &key)
{
    std::optional<QString> result = lookupEntry(application, section, key);
    deliverReports();
    return result;
}

std::optional<QString> SettingsStore::lookupEntry(const QString &application, const QString &section,
                                                  const QString &key)
{
    const FoldedKey folded = foldedKey({application, section, key, {}});
    if (const auto pending = m_pending.find(folded); pending != m_pending.end())
        return pending->second.value;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!ensureOpen())
            return std::nullopt;
        std::optional<QString> result;
        const int rc = readValue(folded, &result);
        if (rc == SQLITE_OK)
            return result;
        const SqlError error{rc, sqlite3_system_errno(m_db), QString::fromUtf8(sqlite3_errmsg(m_db))};
        if (isDamage(rc)) {
            if (!recoverFromDamage(describe(error)))
                return std::nullopt;
            continue;
        }
        reportStreakFault(storetext::kReadFailed.arg(m_filePath, describe(error)));
        closeConnection();
        return std::nullopt;
    }
    return std::nullopt;
}

QString SettingsStore::value(const QString &application, const QString &section, const QString &key,
                             const QString &defaultValue)
{
    return lookup(application, section, key).value_or(defaultValue);
}

bool SettingsStore::setValue(const QString &application, const QString &section, const QString &key,
                             const QString &value)
{
    const bool written = writeEntries({{application, section, key, value}}, true);
    deliverReports();
    return written;
}

bool SettingsStore::setValues(const QString &application, const QString &section,
                              const QList<SettingEntry> &entries)
{
    std::vector<Entry> batch;
    batch.reserve(size_t(entries.size()));
    for (const SettingEntry &entry : entries)
        batch.push_back({application, section, entry.key, entry.value});
    const bool written = writeEntries(batch, false);
    deliverReports();
    return written;
}

bool SettingsStore::ensureOpen()
{
    return m_db || open();
}

bool SettingsStore::open()
{
    QString reason;
    if (!prepareFolder(&reason)) {
        reportStreakFault(storetext::kOpenFailed.arg(m_filePath, reason));
        return false;
    }
    const QByteArray path = nativePath(m_filePath);
    // Each round either opens the file or moves one unusable thing out of the way.
    for (int round = 0; round < 4; ++round) {
        struct stat info = {};
        if (::stat(path.constData(), &info) != 0) {
            const int statErrno = errno;
            struct stat linkInfo = {};
            if (statErrno == ENOENT && ::lstat(path.constData(), &linkInfo) == 0) {
                if (!setAside(storetext::kReasonDanglingLink, {}))
                    return false;
                continue;
            }
            if (statErrno != ENOENT) {
                reportStreakFault(
                    storetext::kOpenFailed.arg(m_filePath, storefiles::systemReason(statErrno)));
                return false;
            }
            keepOrphanedLog();
            // Created here rather than by SQLite so that it never exists with a wider mode than 0600.
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd < 0 && errno != EEXIST) {
                reportStreakFault(storetext::kOpenFailed.arg(m_filePath, storefiles::systemReason(errno)));
                return false;
            }
            if (fd >= 0) {
                ::close(fd);
                storefiles::syncFolder(QFileInfo(m_filePath).absolutePath());
            }
        } else if (!S_ISREG(info.st_mode)) {
            if (!setAside(S_ISDIR(info.st_mode) ? storetext::kReasonFolder : storetext::kReasonNotAFile, {}))
                return false;
            continue;
        } else {
            storefiles::tightenModes(m_filePath);
        }

        if (::faccessat(AT_FDCWD, path.constData(), R_OK, AT_EACCESS) != 0 && errno == EACCES) {
            // Nobody can help that from here; keep it for its owner and start afresh.
            if (!setAside(storetext::kReasonCannotOpen.arg(storefiles::systemReason(EACCES))))
                return false;
            continue;
        }

        SqlError error;
        bool connected = connect(Connect::ReadWrite, &error);
        if (!connected && isDamage(error.code)) {
            if (!recoverFromDamage(describe(error)))
                return false;
            continue;
        }
        // Not writable (a read-only file or folder, no room for the WAL index): read what it holds.
        // Only a header that is not a database counts as damage here: a connection that cannot
        // write may be unable to recover the WAL and then takes a sound file for a damaged one.
        const SqlError writeError = error;
        if (!connected)
            connected = connect(Connect::ReadOnly, &error);
        // In a read-only folder SQLite cannot create the WAL index when it is missing; with no WAL
        // the file is complete, and nobody can write it there, so reading it as immutable is sound.
        if (!connected && (error.code & 0xff) != SQLITE_NOTADB &&
            !storefiles::hasContent(m_filePath + QStringLiteral("-wal")))
            connected = connect(Connect::Immutable, &error);
        if (connected) {
            // Entries kept back by failed writes or saved from a damaged file go in at once.
            if (!m_readOnly && !m_pending.empty() && runWrite(pendingEntries(), nullptr) == SQLITE_OK)
                m_pending.clear();
            return true;
        }
        if ((error.code & 0xff) == SQLITE_NOTADB) {
            if (!setAside(describe(error)))
                return false;
            continue;
        }
        closeConnection();
        reportStreakFault(storetext::kOpenFailed.arg(m_filePath, describe(writeError)));
        return false;
    }
    return false;
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
    const auto fail = [&](int code, const QString &message) {
        *error = {code, db ? sqlite3_system_errno(db) : 0, message};
        // A damaged file stays open so that salvageEntries() can read what is left in it; closing
        // must not checkpoint into it, since it is kept exactly as found.
        if (isDamage(code) && db) {
            sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            m_db = db;
        } else if (db == m_db) {
            closeConnection();
        } else {
            sqlite3_close_v2(db);
        }
        return false;
    };
    if (rc != SQLITE_OK)
        return fail(rc, QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    m_db = db;

    if (mode == Connect::ReadWrite && sqlite3_db_readonly(db, "main") == 1)
        return fail(SQLITE_READONLY, storetext::kReasonReadOnlyFile);

    // Nothing in the file changes until it is known to be a sound settings store or an empty one:
    // a file that is set aside must be kept exactly as it was found. The full check (a few ms for a
    // thousand accounts) also compares the table with its index: a damaged index alone would let
    // lookups miss entries that are there.
    QString check;
    if ((rc = execScalar(db, "PRAGMA integrity_check", &check)) != SQLITE_OK) {
        // A plain error before anything else is read: a header this SQLite does not understand
        // ("unsupported file format"). Only a writable connection's verdict is trusted.
        if (rc == SQLITE_ERROR && mode == Connect::ReadWrite)
            rc = kUnreadableFormat;
        return fail(rc, QString::fromUtf8(sqlite3_errmsg(db)));
    }
    if (check != QLatin1String("ok"))
        return fail(SQLITE_CORRUPT, check);
    QString tables;
    if ((rc = execScalar(
             db,
             "SELECT count(*) || ' ' || count(CASE WHEN name = 'setting' THEN 1 END) FROM sqlite_schema"
             " WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
             &tables)) != SQLITE_OK)
        return fail(rc, QString::fromUtf8(sqlite3_errmsg(db)));
    const bool hadTable = tables.section(u' ', 1) == QLatin1String("1");
    // Tables, but none of ours: another program's database.
    if (!hadTable && tables.section(u' ', 0, 0) != QLatin1String("0"))
        return fail(kNotSettingsFile, tables);
    // A "setting" table with other columns belongs to something else too.
    if (hadTable && !prepareStatements()) {
        const int code = sqlite3_errcode(db);
        return fail((code & 0xff) == SQLITE_ERROR ? kNotSettingsFile : code,
                    QString::fromUtf8(sqlite3_errmsg(db)));
    }

    if (mode == Connect::ReadWrite) {
        if ((rc = execScalar(db, "PRAGMA synchronous = FULL")) != SQLITE_OK)
            return fail(rc, QString::fromUtf8(sqlite3_errmsg(db)));
        if ((rc = execScalar(db, "PRAGMA journal_mode = WAL")) != SQLITE_OK)
            return fail(writeFailureCode(rc), QString::fromUtf8(sqlite3_errmsg(db)));
        if (!hadTable && ((rc = execScalar(db, kCreateTable)) != SQLITE_OK || !prepareStatements()))
            return fail(writeFailureCode(rc != SQLITE_OK ? rc : sqlite3_errcode(db)),
                        QString::fromUtf8(sqlite3_errmsg(db)));
    }
    // A file that cannot be written and has no table yet is simply empty: reads find nothing.
    m_readOnly = mode != Connect::ReadWrite;
    return true;
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
    sqlite3_finalize(m_select);
    sqlite3_finalize(m_upsert);
    m_select = nullptr;
    m_upsert = nullptr;
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_readOnly = false;
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

bool SettingsStore::writeEntries(const std::vector<Entry> &entries, bool keepOnFailure)
{
    std::vector<Entry> batch = pendingEntries();
    batch.insert(batch.end(), entries.begin(), entries.end());

    // A file that was read-only may have been made writable since: look again.
    if (m_reopenBeforeWrite || m_readOnly) {
        closeConnection();
        m_reopenBeforeWrite = false;
    }
    QString reason;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!ensureOpen())
            break; // already told why
        if (m_readOnly) {
            reason = readOnlyReason();
            break;
        }
        SqlError error;
        if (runWrite(batch, &error) == SQLITE_OK) {
            m_pending.clear();
            m_inFaultStreak = false;
            return true;
        }
        error.code = writeFailureCode(error.code);
        if (isDamage(error.code)) {
            if (!recoverFromDamage(describe(error)))
                break;
            continue;
        }
        reason = describe(error);
        break;
    }
    if (keepOnFailure) {
        for (const Entry &entry : entries)
            m_pending.insert_or_assign(foldedKey(entry), entry);
    }
    if (!reason.isEmpty())
        reportStreakFault(storetext::kWriteFailed.arg(m_filePath, reason));
    // The next write starts from a new connection: permissions or free space may have changed.
    m_reopenBeforeWrite = true;
    return false;
}

std::vector<SettingsStore::Entry> SettingsStore::pendingEntries() const
{
    std::vector<Entry> entries;
    entries.reserve(m_pending.size());
    for (const auto &pending : m_pending)
        entries.push_back(pending.second);
    return entries;
}

int SettingsStore::runWrite(const std::vector<Entry> &entries, SqlError *error)
{
    int rc = execScalar(m_db, "BEGIN IMMEDIATE");
    for (auto entry = entries.begin(); rc == SQLITE_OK && entry != entries.end(); ++entry) {
        const auto [application, section, key] = foldedKey(*entry);
        bindText(m_upsert, 1, entry->application);
        bindText(m_upsert, 2, entry->section);
        bindText(m_upsert, 3, entry->key);
        bindText(m_upsert, 4, entry->value);
        bindText(m_upsert, 5, application);
        bindText(m_upsert, 6, section);
        bindText(m_upsert, 7, key);
        rc = sqlite3_step(m_upsert);
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
        sqlite3_reset(m_upsert);
        sqlite3_clear_bindings(m_upsert);
    }
    if (rc == SQLITE_OK)
        rc = execScalar(m_db, "COMMIT");
    if (rc != SQLITE_OK) {
        // Taken before the rollback, which would replace the message and the system error.
        if (error)
            *error = {rc, sqlite3_system_errno(m_db), QString::fromUtf8(sqlite3_errmsg(m_db))};
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return rc;
}

int SettingsStore::readValue(const FoldedKey &key, std::optional<QString> *result)
{
    if (!m_select) {
        result->reset();
        return SQLITE_OK;
    }
    bindText(m_select, 1, std::get<0>(key));
    bindText(m_select, 2, std::get<1>(key));
    bindText(m_select, 3, std::get<2>(key));
    int rc = sqlite3_step(m_select);
    if (rc == SQLITE_ROW) {
        *result = columnText(m_select, 0);
        rc = SQLITE_OK;
    } else if (rc == SQLITE_DONE) {
        result->reset();
        rc = SQLITE_OK;
    }
    sqlite3_reset(m_select);
    sqlite3_clear_bindings(m_select);
    return rc;
}

void SettingsStore::reportFault(const QString &message)
{
    m_undelivered.append(message);
}

void SettingsStore::deliverReports()
{
    // Only once the operation is over: a message box runs an event loop, and whatever it lets run
    // (a timer saving the totals) must find the store in one piece.
    const QStringList messages = std::exchange(m_undelivered, {});
    for (const QString &message : messages) {
        if (m_reporter)
            m_reporter(message);
    }
}

void SettingsStore::reportStreakFault(const QString &message)
{
    if (m_inFaultStreak)
        return;
    m_inFaultStreak = true;
    reportFault(message);
}
