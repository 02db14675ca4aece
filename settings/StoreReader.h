#pragma once

#include <QString>

#include <optional>

struct sqlite3;

// A read-only look into a settings file, for reading without the program's windows (the command
// line): it never creates, repairs, migrates or sets aside anything, so the file is exactly as it
// was afterwards. Reads inside one snapshot() see one consistent state of the file, even while the
// program writes to it.
class StoreReader
{
public:
    explicit StoreReader(QString filePath);
    ~StoreReader();
    StoreReader(const StoreReader &) = delete;
    StoreReader &operator=(const StoreReader &) = delete;

    // False, with the reason in words, when the path is missing, not a regular file, unreadable or
    // not a settings store. Never blocks on what stands at the path (a FIFO is refused unopened).
    bool open(QString *reason);

    // Starts and ends one read transaction.
    bool beginSnapshot();
    void endSnapshot();

    // The stored value, matched as the store matches names (Unicode case folding).
    std::optional<QString> lookup(const QString &application, const QString &section, const QString &key);
    // Whether the file has the table (older files lack the tables added later).
    bool hasTable(const char *name);

    sqlite3 *connection() const { return m_db; }
    const QString &filePath() const { return m_filePath; }
    // The reason of the last failed call.
    QString lastError() const;

private:
    QString m_filePath;
    sqlite3 *m_db = nullptr;
};
