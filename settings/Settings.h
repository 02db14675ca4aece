#pragma once

#include "AccountEntries.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>

// The per-user settings store as the windows use it: strings under application, section and key.
// Names are matched without regard to letter case; values are kept exactly. Every write is durable
// before the call returns. The store lives at $XDG_CONFIG_HOME/qxOrvanta/settings.sqlite3 and is
// opened on first use.

// Stores value under the triple, replacing any earlier value. When the disk refuses the write the
// user is told (once per run of failures), later reads still see the value, and the next write tries
// it again.
void SaveSetting(const QString &application, const QString &section, const QString &key,
                 const QString &value);

// The stored value, or defaultValue when the application, section or key is missing.
QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue = QString());

struct SettingEntry
{
    QString key;
    QString value;
};

// A statement run inside a combined write's transaction, after its entries: SQL with positional
// parameters (?1, ?2, ...) bound in order from parameters (integers, doubles, text, byte arrays; a
// null QVariant binds NULL). It joins its write's fate: committed with the entries, or kept and
// retried with them. It must be sound SQL for the file, since a statement SQLite refuses for its own
// content is refused again at every retry.
struct AttachedStatement
{
    QByteArray sql;
    QVariantList parameters;
};

// Several entries of one section and any attached statements, written in one transaction: all of
// it or none.
struct CombinedWrite
{
    QString application;
    QString section;
    QList<SettingEntry> entries;
    QList<AttachedStatement> statements;
    // Whether it records one counted try: what is left unsaved at the end is told in tries.
    bool countedTry = false;
};

// What a combined write that the disk refuses becomes. Drop: nothing of it is stored, now or later
// (account creation: the user is told it failed and may try again). KeepAndRetry: kept in memory
// like a refused single write, seen by reads, and written before the next write and at the end of
// the program, in the order the writes were made.
enum class WhenRefused
{
    Drop,
    KeepAndRetry,
};

// Stores several entries of one section in one transaction: all of them or none. Returns false when
// the write did not reach the disk now (the user has been told).
bool SaveSettings(const QString &application, const QString &section, const QList<SettingEntry> &entries,
                  WhenRefused whenRefused = WhenRefused::Drop);
bool SaveSettings(const CombinedWrite &write, WhenRefused whenRefused);

// What is left after the last try, as the program ends, to write what the disk refused.
struct UnsavedSettings
{
    int keptWrites = 0;   // kept writes that record a counted try (a run's end is not one)
    bool entries = false; // whether anything at all is left unsaved
    QString filePath;
    QString reason; // why, in words: "the disk is full"
};

// Writes what the disk refused before, waiting longer for a lock than a window may, and tells no
// fault itself: the caller tells the user what is left, in one message.
UnsavedSettings FlushSettings();

// Where store faults (damaged file kept aside, failed write) are reported to the user. The program
// routes this to a message box; without a reporter faults are only written to the debug log.
void setStoreFaultReporter(std::function<void(const QString &message)> reporter);

// The tables other parts of the program keep in the store's file (see StoreSchema.h); the
// process-wide store, and every one opened after it, brings them up to date before its next write.
struct StoreSchema;
void setStoreSchema(const StoreSchema &schema);

// Closes the process-wide store; the next call opens it again from the current XDG_CONFIG_HOME
// (tests point it at a temporary folder between cases).
void resetSettingsStore();
