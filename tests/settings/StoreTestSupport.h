#pragma once

// Shared by the store suites: a private store folder per test, recorded fault reports, and the few
// operating-system tricks the fault tests need (a file size limit standing in for a full disk, and
// dropping root so that read-only permissions apply).

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QDirIterator>
#include <QStringList>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace storetest {

inline const QString kAccounts = QStringLiteral("Orvanta");
inline const QString kNotFound = QStringLiteral("NOTFOUND");

// One entry of an account as the windows read and write it.
inline QString accountValue(const QString &name, const char *key, const QString &fallback = QString())
{
    return GetSetting(kAccounts, name, QString::fromLatin1(key), fallback);
}
inline void saveAccountValue(const QString &name, const char *key, const QString &value)
{
    SaveSetting(kAccounts, name, QString::fromLatin1(key), value);
}

// Text with a NUL between `before` and `after`.
inline QString withNul(const char16_t *before, const char16_t *after)
{
    return QString::fromUtf16(before) + QChar(u'\0') + QString::fromUtf16(after);
}

// The rows a query returns, as the sqlite3 tool would list them, read through a read-only connection
// of their own (so a test can show what the file holds, whatever the store has in memory).
inline QList<QStringList> queryRows(const QString &path, const char *sql)
{
    QList<QStringList> rows;
    sqlite3 *db = nullptr;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        QStringList row;
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(statement, column));
            row << QString::fromUtf16(text, sqlite3_column_bytes16(statement, column) / 2);
        }
        rows << row;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// The store file's content as written, empty when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
inline bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Points XDG_CONFIG_HOME and HOME at a fresh temporary folder, closes the process-wide store so the
// next call opens it there, and records every fault report.
class StoreSandbox
{
public:
    StoreSandbox()
    {
        qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
        qputenv("HOME", m_home.path().toUtf8());
        resetSettingsStore();
        setStoreFaultReporter([this](const QString &message) { reports.append(message); });
    }
    ~StoreSandbox()
    {
        resetSettingsStore();
        setStoreFaultReporter({});
        // A test that failed half-way may leave a read-only folder behind, which would stop its removal.
        QDirIterator it(m_home.path(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        QFile::setPermissions(m_home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        while (it.hasNext())
            QFile::setPermissions(it.next(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    StoreSandbox(const StoreSandbox &) = delete;
    StoreSandbox &operator=(const StoreSandbox &) = delete;

    bool isValid() const { return m_home.isValid(); }
    QString home() const { return m_home.path(); }
    QString folder() const { return m_home.path() + QStringLiteral("/qxOrvanta"); }
    QString storePath() const { return SettingsStore::defaultFilePath(); }
    // Names in the store folder other than the store file, its -wal and -shm, and the folder of
    // account holds.
    QStringList setAsideNames() const
    {
        QStringList names =
            QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        names.removeIf([](const QString &name) {
            return name == QLatin1String("settings.sqlite3") ||
                   name == QLatin1String("settings.sqlite3-wal") ||
                   name == QLatin1String("settings.sqlite3-shm") || name == QLatin1String("in-use");
        });
        return names;
    }

    QStringList reports;

private:
    QTemporaryDir m_home;
};

// Files may not grow beyond limitBytes while this lives: writes then fail as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limitBytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = limitBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old = {};
    void (*m_oldHandler)(int) = nullptr;
};

// Lets the scope run with an ordinary user's permissions. As root every file is writable, so a
// read-only file would prove nothing: root hands the folder tree to "nobody" and takes that user's
// identity until the scope ends. Any other user already is one.
class OrdinaryUser
{
public:
    static constexpr uid_t kNobody = 65534;

    explicit OrdinaryUser(const QString &tree)
    {
        if (::geteuid() != 0)
            return;
        giveTree(tree, kNobody);
        m_dropped = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
    }
    ~OrdinaryUser()
    {
        if (m_dropped) {
            [[maybe_unused]] const int user = ::seteuid(0);
            [[maybe_unused]] const int group = ::setegid(0);
        }
    }
    OrdinaryUser(const OrdinaryUser &) = delete;
    OrdinaryUser &operator=(const OrdinaryUser &) = delete;

    static bool runningAsRoot() { return ::geteuid() == 0; }
    static void giveTree(const QString &tree, uid_t owner)
    {
        [[maybe_unused]] int result = ::lchown(QFile::encodeName(tree).constData(), owner, owner);
        QDirIterator it(tree, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            result = ::lchown(QFile::encodeName(it.next()).constData(), owner, owner);
    }

private:
    bool m_dropped = false;
};

} // namespace storetest
