#pragma once

#include "PendingWrites.h"
#include "Settings.h"
#include "StoreSchema.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// How long a connection waits for another program that holds the file locked, for one lock (ms).
struct StoreBusyWait
{
    int limitMs = 0;
    QElapsedTimer since;
};

// One settings file on one SQLite connection: strings under application, section and key, names
// matched by Unicode case folding, values kept byte for byte. Every write is committed (WAL,
// synchronous=FULL) before it returns.
//
// Faults never stop the program and never lose what the file held:
// - a file that is damaged, not a settings database, in a format this SQLite cannot read or write,
//   a folder, a dangling link, or unreadable by this user is renamed aside
//   with a timestamp (its -wal and -shm go with it), the entries that can still be read are copied
//   into a fresh file, and the user is told which file and why;
// - a failed write (read-only file or folder, disk full) is told once per failure streak; the
//   entries stay in memory, reads see them, and every later write tries them again (the connection
//   is reopened first, so a fixed permission or freed disk takes effect at once).
// A zero-length file is a store that was created but never written (a program stopped before its
// first commit leaves one): it holds nothing, so it is simply used. Faults are handed to the
// reporter only when the call that met them is over, so the reporter may use the store again.
// The file is opened on first use, not by the constructor.
class SettingsStore
{
public:
    using Reporter = std::function<void(const QString &message)>;

    // filePath: the database file; its folder is created (mode 0700) when missing.
    explicit SettingsStore(QString filePath, Reporter reporter = {});
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // $XDG_CONFIG_HOME/qxOrvanta/settings.sqlite3, or ~/.config/... when XDG_CONFIG_HOME is unset,
    // empty or relative (as the XDG rules require).
    static QString defaultFilePath();
    // The form in which names are compared: Unicode case folding.
    static QString foldName(const QString &name);

    const QString &filePath() const { return m_filePath; }

    // The stored value, or std::nullopt when the entry is missing or cannot be read.
    std::optional<QString> lookup(const QString &application, const QString &section, const QString &key);
    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue);

    // True when the value is durable on disk. On failure the value is kept for later writes.
    bool setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value);
    // The whole write in one transaction, or none of it. True when it is durable on disk; on failure
    // it is kept for later writes or dropped, as whenRefused says.
    bool setValues(const CombinedWrite &write, WhenRefused whenRefused);
    // The tables kept beside the settings: brought up to date before the next write (and every
    // write after a new connection), asked what they could read out of a damaged file.
    void setSchema(StoreSchema schema);
    // Writes what failed to reach the disk before. True when nothing is left waiting.
    bool retryPending();

    // The last try at the end of the program: a longer wait for a lock, no fault told, and what is
    // still left returned.
    UnsavedSettings flush();

private:
    using Entry = PendingWrites::Entry;
    using FoldedKey = PendingWrites::FoldedKey;
    using PendingWrite = PendingWrites::Write;
    enum class Connect
    {
        ReadWrite,
        ReadOnly,
        Immutable
    };
    struct SqlError
    {
        int code = 0;
        int systemErrno = 0;
        QString message;
    };

    // Error code for a database whose "setting" table is not this program's.
    static constexpr int kNotSettingsFile = -1;
    // Error code for a file in a format SQLite reads but will not write.
    static constexpr int kUnwritableFormat = -2;
    // Error code for a file whose header names a format SQLite cannot read at all.
    static constexpr int kUnreadableFormat = -3;
    // Error code for a file whose kept tables cannot be brought up to this program's schema.
    static constexpr int kUnusableSchema = -4;

    static bool isDamage(int code);
    static bool isLock(int code);

    // How one round of opening ended: the file is open (or its path is ready to open), something
    // unusable was moved aside and the next round tries again, or the fault has been told.
    enum class Round
    {
        Opened,
        Again,
        Failed
    };

    bool ensureOpen();
    bool open();
    Round clearPath();
    Round connectToFile();
    bool connectForReading(SqlError *error);
    bool connect(Connect mode, SqlError *error);
    bool failConnect(sqlite3 *db, int code, const QString &message, SqlError *error);
    int checkSettingsFile(Connect mode, bool *hadTable, QString *message);
    int prepareForWrites(bool hadTable, QString *message);
    int writeFailureCode(int code) const;
    bool prepareStatements();
    void closeConnection();
    bool prepareFolder(QString *reason);
    bool writeEntries(const PendingWrite *write, bool keepOnFailure);
    int runWrite(const PendingWrite *extra, SqlError *error);
    int runStatement(const AttachedStatement &statement);
    int commitOrRollBack(int rc, SqlError *error);
    int readValue(const FoldedKey &key, std::optional<QString> *result);
    int migrateIfDue(SqlError *error);
    QString failedSchemaCheck() const;

    // Damage handling (SettingsStore_recovery.cpp).
    std::vector<Entry> salvageEntries();
    bool setAside(const QString &reason, std::vector<Entry> salvaged = {},
                  QList<AttachedStatement> salvagedRows = {});
    bool recoverFromDamage(const QString &reason);
    QString freeAsideName() const;
    void keepOrphanedLog();
    QString readOnlyReason() const;
    QString describe(const SqlError &error) const;

    std::optional<QString> lookupEntry(const QString &application, const QString &section,
                                       const QString &key);
    void reportFault(const QString &message);
    void deliverReports();
    void reportStreakFault(const QString &message);
    void reportOpenFault(const QString &reason);
    bool lockStillBrief();

    // A connection that cannot write: why (the writable connection's error; empty when none was
    // told) and whether only another program's lock stood in the way.
    struct ReadOnly
    {
        QString why;
        bool forLock = false;
    };
    // The writes refused since the last one that reached the disk.
    struct Refusals
    {
        bool told = false;         // the user has been told of this streak
        QElapsedTimer lockedSince; // since when writes found the file locked; invalid while not
        int keptTries = 0;         // counted tries among the kept writes
        QString lastReason;        // why the last write failed, in words
    };

    QString m_filePath;
    Reporter m_reporter;
    StoreSchema m_schema;
    StoreBusyWait m_busyWait;

    // The connection, and what is known about it.
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_select = nullptr;
    sqlite3_stmt *m_upsert = nullptr;
    std::optional<ReadOnly> m_readOnly;
    // Whether this connection has yet to bring the schema's tables up to date.
    bool m_schemaDue = true;
    // The next write starts from a new connection: permissions or free space may have changed.
    bool m_reopenBeforeWrite = false;

    // What failed, and what waits for the disk or the reporter.
    Refusals m_refusals;
    // Writes that failed (and entries saved from a damaged file): every later write writes all of
    // them first, in order, in its own transaction.
    PendingWrites m_pending;
    QStringList m_undelivered;
};
