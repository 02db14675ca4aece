// Store files the program cannot use as they are: each has a clear outcome, the user is told which
// file and why, and nothing is lost (an unusable file is still there, under another name).

#include "tests/settings/StoreTestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <sqlite3.h>

#include <sys/mount.h>
#include <sys/stat.h>

using namespace storetest;

namespace {

const QString kAlice = QStringLiteral("Alice");

enum class BadFile
{
    RandomBytes,
    NeverADatabase,
    TruncatedStore,
    ScribbledStore,
    DamagedIndex,
    NewerWriteFormat,
    UnknownSchemaFormat,
    OtherProgramsDatabase,
    FolderInPlace,
    UnreadableFile,
    DanglingLink,
};

QString accountName(int n)
{
    return QStringLiteral("User%1").arg(n, 3, 10, QLatin1Char('0'));
}

// A store of 200 accounts, large enough to span many pages; closed, so it is all in the file.
void writeAccounts()
{
    for (int n = 0; n < 200; ++n) {
        SaveSettings(kAccounts, accountName(n),
                     {{QStringLiteral("UserName"), accountName(n)},
                      {QStringLiteral("Password"), QString(200, QLatin1Char('a' + n % 26))},
                      {QStringLiteral("Hits"), QString::number(n)},
                      {QStringLiteral("Tries"), QString::number(5 * n)}});
    }
    resetSettingsStore();
}

// Writes `bytes` over the file from `offset` on, keeping the rest.
bool overwriteAt(const QString &path, qint64 offset, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(offset) && file.write(bytes) == bytes.size();
}

// The store files set aside (their -wal and -shm left out), as paths.
QStringList setAsideFiles(const StoreSandbox &sandbox)
{
    QStringList paths;
    for (const QString &name : sandbox.setAsideNames()) {
        if (!name.endsWith(QLatin1String("-wal")) && !name.endsWith(QLatin1String("-shm")))
            paths << sandbox.folder() + u'/' + name;
    }
    return paths;
}

} // namespace

class tst_StoreFaults : public QObject
{
    Q_OBJECT

private slots:
    void unusableFileIsKeptAsideAndStoreStartsAfresh_data()
    {
        QTest::addColumn<BadFile>("badFile");
        QTest::addColumn<QString>("reason");
        // Accounts whose entries can still be read out of the bad file and must reach the fresh one.
        QTest::addColumn<QStringList>("recovered");
        QTest::newRow("random bytes")
            << BadFile::RandomBytes << "it is not a settings database" << QStringList();
        QTest::newRow("text that was never a database")
            << BadFile::NeverADatabase << "it is not a settings database" << QStringList();
        QTest::newRow("store cut off half-way")
            << BadFile::TruncatedStore << "it is damaged" << QStringList{accountName(0), accountName(40)};
        QTest::newRow("page in the middle overwritten")
            << BadFile::ScribbledStore << "it is damaged" << QStringList{accountName(0), accountName(199)};
        QTest::newRow("index no longer matches the table")
            << BadFile::DamagedIndex << "it is damaged" << QStringList{accountName(0), accountName(100)};
        QTest::newRow("header names a newer write format")
            << BadFile::NewerWriteFormat << "its format cannot be written by this program"
            << QStringList{accountName(0), accountName(199)};
        QTest::newRow("header names an unknown schema format")
            << BadFile::UnknownSchemaFormat << "its format cannot be read by this program" << QStringList();
        QTest::newRow("another program's database")
            << BadFile::OtherProgramsDatabase << "it is a database of another kind" << QStringList();
        QTest::newRow("folder in its place")
            << BadFile::FolderInPlace << "there is a folder in its place" << QStringList();
        QTest::newRow("file nobody may read")
            << BadFile::UnreadableFile << "it cannot be opened (Permission denied)" << QStringList();
        QTest::newRow("link to nothing")
            << BadFile::DanglingLink << "it is a link to a file that does not exist" << QStringList();
    }
    void unusableFileIsKeptAsideAndStoreStartsAfresh()
    {
        QFETCH(BadFile, badFile);
        QFETCH(QString, reason);
        QFETCH(QStringList, recovered);
        StoreSandbox sandbox;
        const QString path = sandbox.storePath();
        QVERIFY(QDir().mkpath(sandbox.folder()));

        switch (badFile) {
        case BadFile::RandomBytes: {
            QByteArray bytes(64 * 1024, Qt::Uninitialized);
            QRandomGenerator random(42);
            random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
            QVERIFY(writeFileBytes(path, bytes));
            break;
        }
        case BadFile::NeverADatabase:
            QVERIFY(writeFileBytes(path, QByteArray("this was never a database\n").repeated(300)));
            break;
        case BadFile::TruncatedStore:
            writeAccounts();
            QVERIFY(QFile::resize(path, QFileInfo(path).size() / 2));
            break;
        case BadFile::ScribbledStore:
            writeAccounts();
            QVERIFY(overwriteAt(path, QFileInfo(path).size() / 2 / 4096 * 4096, QByteArray(4096, '\x55')));
            break;
        case BadFile::DamagedIndex: {
            // One name in the index's first page changed: every page is sound on its own, but looking up
            // that account through the index would miss it.
            writeAccounts();
            sqlite3 *db = nullptr;
            sqlite3_stmt *statement = nullptr;
            QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
                     SQLITE_OK);
            QCOMPARE(sqlite3_prepare_v2(db,
                                        "SELECT pageno FROM dbstat WHERE name = 'sqlite_autoindex_setting_1'"
                                        " AND pagetype = 'leaf' ORDER BY pageno LIMIT 1",
                                        -1, &statement, nullptr),
                     SQLITE_OK);
            QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
            const qint64 page = sqlite3_column_int64(statement, 0);
            sqlite3_finalize(statement);
            sqlite3_close(db);
            QByteArray bytes = fileBytes(path);
            const qsizetype pageSize = (uchar(bytes[16]) << 8) | uchar(bytes[17]);
            const qsizetype name = bytes.indexOf("user000", (page - 1) * pageSize);
            QVERIFY(name > 0 && name < page * pageSize);
            bytes[name] = 'v';
            QVERIFY(writeFileBytes(path, bytes));
            break;
        }
        case BadFile::NewerWriteFormat: // SQLite reads such a file but will never write it.
            writeAccounts();
            QVERIFY(overwriteAt(path, 18, "\x03"));
            break;
        case BadFile::UnknownSchemaFormat:
            writeAccounts();
            QVERIFY(overwriteAt(path, 47, "\x09"));
            break;
        case BadFile::OtherProgramsDatabase: {
            sqlite3 *db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(
                         db,
                         "CREATE TABLE setting(name TEXT, level INTEGER); INSERT INTO setting VALUES('x', 1)",
                         nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(db);
            break;
        }
        case BadFile::FolderInPlace:
            QVERIFY(QDir().mkpath(path));
            QVERIFY(writeFileBytes(path + QStringLiteral("/inside.txt"), "kept"));
            break;
        case BadFile::UnreadableFile:
            writeAccounts();
            QVERIFY(QFile::setPermissions(path, {}));
            break;
        case BadFile::DanglingLink:
            QVERIFY(QFile::link(sandbox.home() + QStringLiteral("/moved-away.sqlite3"), path));
            break;
        }
        const QByteArray before = fileBytes(path);

        {
            OrdinaryUser user(sandbox.home());
            saveAccountValue(QStringLiteral("Fresh"), "Hits", QStringLiteral("7"));
            QCOMPARE(accountValue(QStringLiteral("fresh"), "Hits"), QStringLiteral("7"));
        }

        QCOMPARE(sandbox.reports.size(), 1);
        const QString report = sandbox.reports[0];
        const QStringList asides = setAsideFiles(sandbox);
        QVERIFY2(asides.size() == 1, qPrintable(report + u'|' + asides.join(u'|')));
        const QString aside = asides[0];
        QVERIFY2(report.contains(QLatin1Char('"') + path + QLatin1Char('"')), qPrintable(report));
        QVERIFY2(report.contains(reason), qPrintable(report));
        QVERIFY2(report.contains(aside), qPrintable(report));

        // Nothing lost: the bad file is there, unchanged, under the name the user was given.
        switch (badFile) {
        case BadFile::FolderInPlace:
            QCOMPARE(fileBytes(aside + QStringLiteral("/inside.txt")), QByteArray("kept"));
            break;
        case BadFile::DanglingLink:
            QCOMPARE(QFileInfo(aside).symLinkTarget(),
                     sandbox.home() + QStringLiteral("/moved-away.sqlite3"));
            break;
        case BadFile::UnreadableFile:
            QVERIFY(QFile::setPermissions(aside, QFile::ReadOwner));
            QCOMPARE(fileBytes(aside).size(), QFileInfo(aside).size());
            QVERIFY(QFileInfo(aside).size() > 4096);
            break;
        default:
            QCOMPARE(fileBytes(aside), before);
        }

        resetSettingsStore();
        QCOMPARE(accountValue(QStringLiteral("FRESH"), "Hits"), QStringLiteral("7"));
        for (const QString &name : recovered) {
            QCOMPARE(accountValue(name, "UserName", kNotFound), name);
            QCOMPARE(accountValue(name, "Tries", kNotFound), QString::number(5 * name.mid(4).toInt()));
        }
        if (!recovered.isEmpty())
            QVERIFY2(report.contains(QLatin1String("entries that could still be read")), qPrintable(report));
    }

    // A zero-length file is what a program stopped between creating the file and its first commit leaves
    // behind (this one included). It holds no entries, so there is nothing to keep and nothing to tell:
    // it is used as the new, empty store.
    void zeroLengthFileIsAnEmptyStore()
    {
        StoreSandbox sandbox;
        QVERIFY(QDir().mkpath(sandbox.folder()));
        QVERIFY(writeFileBytes(sandbox.storePath(), QByteArray()));
        QCOMPARE(accountValue(kAlice, "UserName", kNotFound), kNotFound);
        saveAccountValue(kAlice, "UserName", kAlice);
        resetSettingsStore();
        QCOMPARE(accountValue(QStringLiteral("alice"), "UserName", kNotFound), kAlice);
        QCOMPARE(sandbox.reports, QStringList());
        QCOMPARE(sandbox.setAsideNames(), QStringList());
    }

    void unwritableStoreIsToldOnceAndCatchesUpWhenWritable_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only file") << "file"
                                        << "the file is read-only";
        QTest::newRow("read-only folder") << "folder"
                                          << "folder";
        QTest::newRow("file owned by another user") << "owner"
                                                    << "the file is read-only";
    }
    void unwritableStoreIsToldOnceAndCatchesUpWhenWritable()
    {
        QFETCH(QString, what);
        QFETCH(QString, reason);
        if (what == QLatin1String("owner") && !OrdinaryUser::runningAsRoot())
            QSKIP("Only root can give the store file to another user");
        StoreSandbox sandbox;
        const QString path = sandbox.storePath();
        SaveSettings(kAccounts, kAlice,
                     {{QStringLiteral("UserName"), kAlice},
                      {QStringLiteral("Hits"), QStringLiteral("3")},
                      {QStringLiteral("Tries"), QStringLiteral("10")}});
        resetSettingsStore();

        const auto lock = [&](bool locked) {
            if (what == QLatin1String("file"))
                QFile::setPermissions(path, locked ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
            else if (what == QLatin1String("folder"))
                QFile::setPermissions(sandbox.folder(),
                                      QFile::ReadOwner | QFile::ExeOwner |
                                          (locked ? QFile::Permissions() : QFile::WriteOwner));
        };
        {
            OrdinaryUser user(sandbox.home());
            if (what == QLatin1String("owner")) {
                // Handed back to root after the tree went to the ordinary user: readable, not writable.
                QVERIFY(::seteuid(0) == 0);
                QCOMPARE(::chown(QFile::encodeName(path).constData(), 0, 0), 0);
                QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0644), 0);
                QVERIFY(::seteuid(OrdinaryUser::kNobody) == 0);
            }
            lock(true);
            QCOMPARE(accountValue(kAlice, "Hits"), QStringLiteral("3"));
            saveAccountValue(kAlice, "Hits", QStringLiteral("4"));
            saveAccountValue(kAlice, "Tries", QStringLiteral("11"));
            QCOMPARE(sandbox.reports.size(), 1);
            QVERIFY2(sandbox.reports[0].contains(QLatin1Char('"') + path + QLatin1Char('"')),
                     qPrintable(sandbox.reports[0]));
            QVERIFY2(sandbox.reports[0].contains(reason), qPrintable(sandbox.reports[0]));
            // The program goes on with its own latest values.
            QCOMPARE(accountValue(kAlice, "Hits"), QStringLiteral("4"));
            lock(false);
        }
        if (what == QLatin1String("owner"))
            QCOMPARE(
                ::chown(QFile::encodeName(path).constData(), OrdinaryUser::kNobody, OrdinaryUser::kNobody),
                0);
        {
            OrdinaryUser user(sandbox.home());
            saveAccountValue(kAlice, "Tries", QStringLiteral("12"));
            QCOMPARE(sandbox.reports.size(), 1);
            resetSettingsStore();
            QCOMPARE(accountValue(kAlice, "Hits"), QStringLiteral("4"));
            QCOMPARE(accountValue(kAlice, "Tries"), QStringLiteral("12"));
        }
        QCOMPARE(sandbox.setAsideNames(), QStringList());
    }

    // The store's folder cannot be made because a file has its name. That file is not the store's to
    // move; the user is told, and the program runs on with its values in memory until the folder can be
    // made.
    void storeFolderTakenByAFileKeepsTheProgramRunning()
    {
        StoreSandbox sandbox;
        QVERIFY(writeFileBytes(sandbox.folder(), "someone's notes"));
        QCOMPARE(accountValue(kAlice, "Hits", QStringLiteral("0")), QStringLiteral("0"));
        saveAccountValue(kAlice, "Hits", QStringLiteral("5"));
        QCOMPARE(sandbox.reports.size(), 1);
        QVERIFY2(sandbox.reports[0].contains(sandbox.storePath()), qPrintable(sandbox.reports[0]));
        QVERIFY2(sandbox.reports[0].contains(QStringLiteral("is a file, not a folder")),
                 qPrintable(sandbox.reports[0]));
        QCOMPARE(accountValue(kAlice, "Hits", QStringLiteral("0")), QStringLiteral("5"));

        QVERIFY(QFile::rename(sandbox.folder(), sandbox.home() + QStringLiteral("/notes.txt")));
        saveAccountValue(kAlice, "Tries", QStringLiteral("9"));
        resetSettingsStore();
        QCOMPARE(accountValue(kAlice, "Hits"), QStringLiteral("5"));
        QCOMPARE(accountValue(kAlice, "Tries"), QStringLiteral("9"));
        QCOMPARE(fileBytes(sandbox.home() + QStringLiteral("/notes.txt")), QByteArray("someone's notes"));
        QCOMPARE(sandbox.reports.size(), 1);
    }

    // A store started on a full disk: SQLite's writable connection fails for want of room, and the
    // store reads the file through a read-only one. The user must be told the disk is full (not that the
    // file is read-only), no half-grown -shm may stay behind, and the kept value goes in once there is
    // room again.
    void fullDiskIsToldAsFullAndLeavesNoUnfinishedShm()
    {
        StoreSandbox sandbox;
        const QString small = sandbox.home() + QStringLiteral("/small");
        QVERIFY(QDir().mkpath(small));
        if (::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("Needs a small filesystem of its own (mounting one takes root)");
        struct Unmount
        {
            QByteArray path;
            ~Unmount()
            {
                resetSettingsStore();
                ::umount2(path.constData(), MNT_DETACH);
            }
        } unmount{QFile::encodeName(small)};
        qputenv("XDG_CONFIG_HOME", small.toUtf8());
        resetSettingsStore();
        const QString path = sandbox.storePath();
        QFile filler(small + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(1024, 'f')) == 1024) {
        }
        filler.close();

        saveAccountValue(kAlice, "Hits", QStringLiteral("3"));
        QCOMPARE(sandbox.reports.size(), 1);
        QVERIFY2(sandbox.reports[0].contains(QStringLiteral("the disk is full")),
                 qPrintable(sandbox.reports[0]));
        const QFileInfo shm(path + QStringLiteral("-shm"));
        QVERIFY2(!shm.exists() || (shm.size() > 0 && shm.size() % 32768 == 0),
                 qPrintable(QString::number(shm.size())));

        QVERIFY(filler.remove());
        saveAccountValue(kAlice, "Tries", QStringLiteral("9"));
        resetSettingsStore();
        QCOMPARE(accountValue(QStringLiteral("alice"), "Hits"), QStringLiteral("3"));
        QCOMPARE(sandbox.reports.size(), 1);
    }

    // Another program holds the file locked: the window must not freeze on it, and the totals wait in
    // memory until the lock is gone (here: the last write as the program ends).
    void lockedStoreWaitsBrieflyAndKeepsTheTotals()
    {
        StoreSandbox sandbox;
        saveAccountValue(kAlice, "UserName", kAlice);
        sqlite3 *other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(sandbox.storePath()).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!SaveSettings(
            kAccounts, kAlice,
            {{QStringLiteral("Hits"), QStringLiteral("1")}, {QStringLiteral("Tries"), QStringLiteral("4")}},
            WhenRefused::KeepAndRetry));
        QVERIFY2(waited.elapsed() < 1500, qPrintable(QString::number(waited.elapsed())));
        QVERIFY2(sandbox.reports.isEmpty(), qPrintable(sandbox.reports.join(u"|")));
        QCOMPARE(accountValue(kAlice, "Tries"), QStringLiteral("4"));
        QCOMPARE(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
        resetSettingsStore();
        QCOMPARE(accountValue(kAlice, "Tries"), QStringLiteral("4"));
    }
};

QTEST_GUILESS_MAIN(tst_StoreFaults)
#include "tst_store_faults.moc"
