#include "SettingsStore.h"

#include "StoreFaultText.h"
#include "StoreFiles.h"
#include "StoreSql.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <utility>

using storesql::bindText;
using storesql::columnText;
using storesql::execScalar;

namespace {

// How long a write waits for a lock held by another program while the windows wait on it (ms), and
// how long at the end of the program, whose last write has no later one to go in with.
constexpr int kBusyWaitMs = 250;
constexpr int kLastBusyWaitMs = 3000;
// Another copy writing holds the file for milliseconds; a lock held this long is worth telling (ms).
constexpr qint64 kLockedToldAfterMs = 3000;

} // namespace

SettingsStore::SettingsStore(QString filePath, Reporter reporter)
    : m_filePath(std::move(filePath)), m_reporter(std::move(reporter))
{
    m_busyWait.limitMs = kBusyWaitMs;
}

SettingsStore::~SettingsStore()
{
    if (!m_pending.empty()) {
        // A last try for entries whose write failed; nobody is left to tell when it fails again.
        m_reporter = [](const QString &message) { std::fprintf(stderr, "%s\n", qUtf8Printable(message)); };
        m_refusals.told = false;
        m_busyWait.limitMs = kLastBusyWaitMs;
        // Nobody is left to take kept entries along later, so a lock another copy holds is not
        // passed over in silence here: it is waited out until it counts as long, and then told.
        QElapsedTimer waited;
        waited.start();
        while (!writeEntries(nullptr, true) && !m_refusals.told &&
               waited.elapsed() < kLockedToldAfterMs + kLastBusyWaitMs)
            QThread::msleep(20);
        if (!m_pending.empty())
            reportStreakFault(storetext::kWriteFailed.arg(m_filePath, m_refusals.lastReason));
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
    return PendingWrites::foldName(name);
}

bool SettingsStore::isDamage(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || code == kNotSettingsFile ||
           code == kUnwritableFormat || code == kUnreadableFormat || code == kUnusableSchema;
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
    const FoldedKey folded = PendingWrites::foldedKey({application, section, key, {}});
    if (std::optional<QString> kept = m_pending.lookup(folded))
        return kept;
    // A store that does not exist yet holds nothing: reading it creates nothing, so the very first
    // start reads its defaults without the file's creation and its syncs delaying the first window.
    if (!m_db && storefiles::missing(m_filePath) && storefiles::missing(m_filePath + QStringLiteral("-wal")))
        return std::nullopt;
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
    const PendingWrite write = PendingWrites::makeWrite({{application, section, key, value}});
    const bool written = writeEntries(&write, true);
    deliverReports();
    return written;
}

bool SettingsStore::setValues(const CombinedWrite &write, WhenRefused whenRefused)
{
    std::vector<Entry> entries;
    entries.reserve(size_t(write.entries.size()));
    for (const SettingEntry &entry : write.entries)
        entries.push_back({write.application, write.section, entry.key, entry.value});
    PendingWrite pending = PendingWrites::makeWrite(std::move(entries), write.statements);
    pending.countedTry = write.countedTry;
    const bool written = writeEntries(&pending, whenRefused == WhenRefused::KeepAndRetry);
    deliverReports();
    return written;
}

UnsavedSettings SettingsStore::flush()
{
    if (!m_pending.empty()) {
        m_busyWait.limitMs = kLastBusyWaitMs;
        const bool told = std::exchange(m_refusals.told, true);
        writeEntries(nullptr, true);
        m_refusals.told = told;
        m_undelivered.clear();
        m_busyWait.limitMs = kBusyWaitMs;
    }
    if (m_pending.empty())
        return {};
    return {m_refusals.keptTries, true, m_filePath, m_refusals.lastReason};
}

bool SettingsStore::retryPending()
{
    const bool written = m_pending.empty() || writeEntries(nullptr, true);
    deliverReports();
    return written;
}

bool SettingsStore::writeEntries(const PendingWrite *write, bool keepOnFailure)
{
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
            // Opened for reading only because another copy held the lock just then: as brief as
            // a lock met while writing, and kept without a word in the same way.
            if (m_readOnly->forLock && lockStillBrief()) {
                m_refusals.lastReason = m_readOnly->why;
                break;
            }
            reason = m_readOnly->why.isEmpty() ? readOnlyReason() : m_readOnly->why;
            break;
        }
        // The kept writes are taken afresh each time: a damaged file set aside in between adds what
        // was read out of it.
        SqlError error;
        if (migrateIfDue(&error) == SQLITE_OK && runWrite(write, &error) == SQLITE_OK) {
            m_pending.clear();
            m_refusals.told = false;
            m_refusals.lockedSince.invalidate();
            m_refusals.keptTries = 0;
            return true;
        }
        error.code = writeFailureCode(error.code);
        m_refusals.lastReason = describe(error);
        // Kept without a word while the lock is brief: the next write takes it along.
        if (isLock(error.code) && lockStillBrief())
            break;
        if (isDamage(error.code)) {
            if (!recoverFromDamage(describe(error)))
                break;
            continue;
        }
        reason = describe(error);
        break;
    }
    if (!reason.isEmpty())
        m_refusals.lastReason = reason;
    if (keepOnFailure && write) {
        m_refusals.keptTries += write->countedTry ? 1 : 0;
        m_pending.keep(*write);
    }
    if (!reason.isEmpty())
        reportStreakFault(storetext::kWriteFailed.arg(m_filePath, reason));
    // The next write starts from a new connection: permissions or free space may have changed.
    m_reopenBeforeWrite = true;
    return false;
}

bool SettingsStore::isLock(int code)
{
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

bool SettingsStore::lockStillBrief()
{
    if (!m_refusals.lockedSince.isValid())
        m_refusals.lockedSince.start();
    return m_refusals.lockedSince.elapsed() < kLockedToldAfterMs;
}

int SettingsStore::runWrite(const PendingWrite *extra, SqlError *error)
{
    std::vector<const PendingWrite *> writes;
    writes.reserve(m_pending.writes().size() + 1);
    for (const PendingWrite &pending : m_pending.writes())
        writes.push_back(&pending);
    if (extra)
        writes.push_back(extra);

    int rc = execScalar(m_db, "BEGIN IMMEDIATE");
    for (const PendingWrite *write : writes) {
        for (auto entry = write->entries.begin(); rc == SQLITE_OK && entry != write->entries.end(); ++entry) {
            const auto &[application, section, key] = write->keys[size_t(entry - write->entries.begin())];
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
        for (auto statement = write->statements.begin();
             rc == SQLITE_OK && statement != write->statements.end(); ++statement)
            rc = runStatement(*statement);
    }
    return commitOrRollBack(rc, error);
}

// Ends the open transaction: commits when every step went well (rc is SQLITE_OK), else rolls back.
int SettingsStore::commitOrRollBack(int rc, SqlError *error)
{
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

int SettingsStore::runStatement(const AttachedStatement &statement)
{
    sqlite3_stmt *prepared = nullptr;
    int rc =
        sqlite3_prepare_v2(m_db, statement.sql.constData(), int(statement.sql.size()), &prepared, nullptr);
    for (int i = 0; rc == SQLITE_OK && i < statement.parameters.size(); ++i) {
        const QVariant &parameter = statement.parameters[i];
        const int index = i + 1;
        switch (parameter.isNull() ? QMetaType::UnknownType : parameter.typeId()) {
        case QMetaType::UnknownType:
            rc = sqlite3_bind_null(prepared, index);
            break;
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(prepared, index, parameter.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(prepared, index, parameter.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = parameter.toByteArray();
            rc = sqlite3_bind_blob64(prepared, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default:
            bindText(prepared, index, parameter.toString());
        }
    }
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(prepared)) == SQLITE_ROW) {
        }
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    sqlite3_finalize(prepared);
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
    if (m_refusals.told)
        return;
    m_refusals.told = true;
    reportFault(message);
}
