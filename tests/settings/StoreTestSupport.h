#pragma once

// Shared by the store suites: a private store folder per test, recorded fault reports, and the few
// operating-system tricks the fault tests need (a file size limit standing in for a full disk, and
// dropping root so that read-only permissions apply).

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace storetest {

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
    }
    StoreSandbox(const StoreSandbox &) = delete;
    StoreSandbox &operator=(const StoreSandbox &) = delete;

    bool isValid() const { return m_home.isValid(); }
    QString home() const { return m_home.path(); }
    QString folder() const { return m_home.path() + QStringLiteral("/qxOrvanta"); }
    QString storePath() const { return SettingsStore::defaultFilePath(); }
    // Names in the store folder other than the store file and its -wal and -shm.
    QStringList setAsideNames() const
    {
        QStringList names = QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        names.removeIf([](const QString &name) {
            return name == QLatin1String("settings.sqlite3") ||
                   name == QLatin1String("settings.sqlite3-wal") ||
                   name == QLatin1String("settings.sqlite3-shm");
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

} // namespace storetest
