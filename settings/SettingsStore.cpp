#include "SettingsStore.h"

#include "StoreFaultText.h"
#include "StoreFiles.h"
#include "StoreSql.h"

#include <QDir>

#include <sqlite3.h>

#include <cstdio>
#include <utility>

using storesql::bindText;
using storesql::columnText;
using storesql::execScalar;

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

bool SettingsStore::writeEntries(const std::vector<Entry> &entries, bool keepOnFailure)
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
            reason = readOnlyReason();
            break;
        }
        // Taken afresh each time: a damaged file set aside in between adds what was read out of it.
        std::vector<Entry> batch = pendingEntries();
        batch.insert(batch.end(), entries.begin(), entries.end());
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
