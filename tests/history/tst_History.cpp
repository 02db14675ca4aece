// The try history over a real store file: recording with the totals, a refused write kept in order,
// a store from before the history, and reading it back as runs, splits and CSV.

#include "tests/settings/StoreTestSupport.h"
#include "tests/support/HistoryTestSupport.h"

#include "history/CsvExport.h"
#include "history/TryHistory.h"
#include "settings/StoreSchema.h"
#include "settings/StoreSql.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <sqlite3.h>
#include <sys/stat.h>

#include <tuple>

using historytest::makeOldAccount;
using historytest::Player;
using storetest::StoreSandbox;

namespace {

history::AccountHistory readBack(const QString &path, const QString &name)
{
    TryHistory reader(path);
    QString reason;
    if (!reader.open(&reason))
        return {};
    return reader.account(name, &reason).value_or(history::AccountHistory{});
}

// The first column of the first row a statement gives, on its own connection to the file.
QString sqlOn(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    QString value;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK)
        storesql::execScalar(db, sql, &value);
    sqlite3_close(db);
    return value;
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void runsAndTriesReadBackOverAnOldStore();
    void refusedWritesKeepTheirTriesInOrder();
    void damagedFileKeepsTotalsAndHistory();
    void restoredOrPartialTablesKeepEveryRow_data();
    void restoredOrPartialTablesKeepEveryRow();
    void unsavedCountTellsTriesOnly();
    void csvFieldsAreQuotedAndDefused_data();
    void csvFieldsAreQuotedAndDefused();
    void exportRefusesWhatItWouldDestroy_data();
    void exportRefusesWhatItWouldDestroy();
    void impossibleRowsAreLeftOutYetExported_data();
    void impossibleRowsAreLeftOutYetExported();
};

// Guards the record and its totals drifting apart, a reader that fails on a store from before the
// history, and an old store's totals being lost or miscounted: tries before the history began are
// what the record cannot explain.
void HistoryTest::runsAndTriesReadBackOverAnOldStore()
{
    StoreSandbox sandbox;
    setStoreSchema(StoreSchema{}); // the store as the version before the history wrote it
    makeOldAccount(QStringLiteral("Alice"), 3, 10);
    resetSettingsStore();
    const history::AccountHistory old = readBack(sandbox.storePath(), QStringLiteral("alice"));
    QCOMPARE(old.userName, QStringLiteral("Alice")); // a reader that fails without history tables
    QCOMPARE(old.beforeHistoryTries, 10);
    QVERIFY(old.tries.empty() && old.runs.empty());
    {
        Player alice{QStringLiteral("alice"), 3, 10, {}};
        alice.recorder.beginRun(alice.name, history::Game::Plain);
        QVERIFY(alice.play(2, 2));
        QVERIFY(alice.play(1, 4, history::Deck::Colors));
        alice.recorder.beginRun(alice.name, history::Game::FindHidden); // ends the first run
        QVERIFY(alice.play(3, 5, history::Deck::PlayingCards, {5, 1, 2, 3, 4}));
        alice.recorder.beginRun(alice.name, history::Game::Plain); // a run without tries leaves nothing
        alice.recorder.endRun();
    }
    resetSettingsStore();

    const history::AccountHistory account = readBack(sandbox.storePath(), QStringLiteral("ALICE"));
    QCOMPARE(account.userName, QStringLiteral("Alice"));
    QCOMPARE(account.storedTries, 13);
    QCOMPARE(account.storedHits, 4);
    QCOMPARE(account.beforeHistoryTries, 10);
    QCOMPARE(account.beforeHistoryHits, 3);
    QCOMPARE(account.tries.size(), size_t(3));
    QCOMPARE(account.runs.size(), size_t(2));
    const history::RunRecord &first = account.runs[0];
    QCOMPARE(first.userName, QStringLiteral("alice"));
    QCOMPARE(first.tries, 2);
    QCOMPARE(first.hits, 1);
    QCOMPARE(first.decks, (std::vector<history::Deck>{history::Deck::Zener, history::Deck::Colors}));
    QVERIFY(first.startUtcMs <= account.tries[0].timeUtcMs && account.tries[1].timeUtcMs <= first.endUtcMs);
    const history::TryRecord &hidden = account.tries[2];
    QCOMPARE(hidden.runId, account.runs[1].id);
    QCOMPARE(hidden.tryNumber, 1);
    QCOMPARE(hidden.game, history::Game::FindHidden);
    QCOMPARE(hidden.layout, (std::array<std::int8_t, 5>{5, 1, 2, 3, 4}));
    QCOMPARE(hidden.responseMs, 712);
    QCOMPARE(history::splitByGame(account.tries).size(), size_t(2));
    QCOMPARE(history::splitByDeck(account.tries)[0].hits, 1);

    // Read on from a try (a window keeping up): only the tries after it, the totals whole.
    TryHistory reader(sandbox.storePath());
    QString reason;
    QVERIFY(reader.open(&reason));
    const auto later = reader.account(QStringLiteral("alice"), &reason, {first.id, 1});
    QVERIFY(later);
    QCOMPARE(later->tries.size(), size_t(2));
    QCOMPARE(later->tries[0].tryNumber, 2);
    QCOMPARE(later->tries[1].runId, account.runs[1].id);
    QCOMPARE(later->storedTries, 13);

    // The baseline kept when the history began agrees with the totals.
    QCOMPARE(sqlOn(sandbox.storePath(), "SELECT tries_before || ' ' || hits_before FROM history_account"),
             QStringLiteral("10 3"));
    QCOMPARE(sqlOn(sandbox.storePath(), "PRAGMA user_version"),
             QString::number(history::schema::storeSchema().migrations.size()));
}

// Guards a refused write that loses its try, or writes it after a later one: the disk is full for
// two tries, then frees up; every try is on record once, in order, and the totals agree.
void HistoryTest::refusedWritesKeepTheirTriesInOrder()
{
    StoreSandbox sandbox;
    makeOldAccount(QStringLiteral("Bob"), 0, 0);
    Player bob{QStringLiteral("Bob"), 0, 0, {}};
    bob.recorder.beginRun(bob.name, history::Game::Plain);
    QVERIFY(bob.play(1, 1));
    {
        const QFileInfo store(sandbox.storePath());
        storetest::FileSizeLimit full(rlim_t(store.size()));
        for (int i = 0; i < 40 && bob.play(2, 3); ++i) {
        }
        QVERIFY(!bob.play(4, 4));
    }
    const int refusedAt = bob.tries;
    QVERIFY(bob.play(5, 1));
    bob.recorder.endRun();
    resetSettingsStore();

    const history::AccountHistory account = readBack(sandbox.storePath(), bob.name);
    QCOMPARE(account.storedTries, refusedAt + 1);
    QCOMPARE(int(account.tries.size()), account.storedTries);
    QCOMPARE(account.beforeHistoryTries, 0);
    for (size_t i = 0; i < account.tries.size(); ++i)
        QCOMPARE(account.tries[i].tryNumber, int(i) + 1);
    QCOMPARE(account.tries[size_t(refusedAt - 1)].guess, 4);
    QCOMPARE(account.tries.back().guess, 5);
}

// Guards a damaged file costing the record: the store's recovery carries totals and history over.
void HistoryTest::damagedFileKeepsTotalsAndHistory()
{
    StoreSandbox sandbox;
    makeOldAccount(QStringLiteral("Dan"), 2, 4);
    {
        Player dan{QStringLiteral("Dan"), 2, 4, {}};
        dan.recorder.beginRun(dan.name, history::Game::Plain);
        for (int guess = 1; guess <= 3; ++guess)
            QVERIFY(dan.play(guess, 2));
    }
    resetSettingsStore();
    // One name in the runs' index changed: each page is sound, but the index no longer matches.
    sqlOn(sandbox.storePath(), "PRAGMA wal_checkpoint(TRUNCATE)");
    const QString page =
        sqlOn(sandbox.storePath(), "SELECT pageno FROM dbstat WHERE name = 'history_run_account' LIMIT 1");
    QFile file(sandbox.storePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype name = bytes.indexOf("dan", (page.toInt() - 1) * 4096);
    QVERIFY(name > 0 && name < page.toInt() * 4096);
    file.seek(name);
    file.write("x");
    file.close();

    SaveSetting(history::kAccountsApplication, QStringLiteral("Dan"), QStringLiteral("Deck"),
                QStringLiteral("1"));
    QCOMPARE(sandbox.reports.size(), 1);
    QVERIFY(!sandbox.setAsideNames().isEmpty());
    resetSettingsStore();
    const history::AccountHistory account = readBack(sandbox.storePath(), QStringLiteral("Dan"));
    QCOMPARE(account.storedTries, 7);
    QCOMPARE(account.tries.size(), size_t(3));
    QCOMPARE(account.runs.size(), size_t(1));
    QCOMPARE(account.beforeHistoryTries, 4);
}

void HistoryTest::restoredOrPartialTablesKeepEveryRow_data()
{
    QTest::addColumn<bool>("dumped");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("triesKept");
    QTest::addColumn<bool>("setAside");
    QTest::newRow("dump restore, every table") << true << QString() << 3 << false;
    QTest::newRow("dump restore, no run-end table")
        << true << QStringLiteral("DROP TABLE history_run_end") << 3 << false;
    QTest::newRow("dump restore, no history tables")
        << true
        << QStringLiteral("DROP TABLE history_try; DROP TABLE history_run_end; DROP TABLE history_run;"
                          " DROP TABLE history_account")
        << 0 << false;
    QTest::newRow("current version, run-end table dropped")
        << false << QStringLiteral("DROP TABLE history_run_end") << 3 << false;
    QTest::newRow("current version, try table dropped")
        << false << QStringLiteral("DROP TABLE history_try") << 0 << false;
    QTest::newRow("try table of another shape")
        << false << QStringLiteral("DROP TABLE history_try; CREATE TABLE history_try(run_id, note)") << 0
        << true;
}

// Guards a store restored from `sqlite3 .dump` (which loses user_version) or missing a history table:
// the migration failed at every write, every try stayed in memory and was lost at exit, for ever. Now
// every row is kept and the next try is stored; tables that cannot be brought up are set aside.
void HistoryTest::restoredOrPartialTablesKeepEveryRow()
{
    QFETCH(bool, dumped);
    QFETCH(QString, edit);
    QFETCH(int, triesKept);
    QFETCH(bool, setAside);
    StoreSandbox sandbox;
    const QString path = sandbox.storePath();
    makeOldAccount(QStringLiteral("Eve"), 1, 2);
    {
        Player eve{QStringLiteral("Eve"), 1, 2, {}};
        eve.recorder.beginRun(eve.name, history::Game::Plain);
        for (int guess = 1; guess <= 3; ++guess)
            QVERIFY(eve.play(guess, 2));
    }
    resetSettingsStore();
    if (dumped) {
        QVERIFY(QFile::rename(path, path + QStringLiteral(".old")));
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        QProcess shell;
        shell.start(QStringLiteral("sh"),
                    {QStringLiteral("-c"), QStringLiteral("sqlite3 \"$0\" .dump | sqlite3 \"$1\""),
                     path + QStringLiteral(".old"), path});
        QVERIFY(shell.waitForFinished() && shell.exitCode() == 0);
        QFile::remove(path + QStringLiteral(".old"));
        QCOMPARE(sqlOn(path, "PRAGMA user_version"), QStringLiteral("0"));
    }
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, edit.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    Player eve{QStringLiteral("Eve"), 2, 5, {}};
    eve.recorder.beginRun(eve.name, history::Game::Plain);
    QVERIFY(eve.play(4, 4));
    eve.recorder.endRun();
    QVERIFY(!FlushSettings().entries); // nothing left waiting: no endless "tries again"
    QCOMPARE(sandbox.reports.size(), setAside ? 1 : 0);
    QCOMPARE(sandbox.setAsideNames().isEmpty(), !setAside);
    resetSettingsStore();
    QCOMPARE(sqlOn(path, "PRAGMA user_version"),
             QString::number(history::schema::storeSchema().migrations.size()));
    const history::AccountHistory account = readBack(path, eve.name);
    QCOMPARE(account.storedTries, 6);
    QCOMPARE(int(account.tries.size()), triesKept + 1);
    // The totals when the history began are kept wherever their table survived.
    QCOMPARE(sqlOn(path, "SELECT tries_before FROM history_account"),
             edit.contains(QLatin1String("history_account")) ? QStringLiteral("5") : QStringLiteral("2"));
    // The first run is listed wherever its tries survived (a run without tries is not listed).
    QCOMPARE(int(account.runs.size()), triesKept > 0 ? 2 : 1);
}

// Guards the exit message counting a run's end as a try: one refused try was told as "2 tries".
void HistoryTest::unsavedCountTellsTriesOnly()
{
    StoreSandbox sandbox;
    makeOldAccount(QStringLiteral("Fay"), 0, 0);
    Player fay{QStringLiteral("Fay"), 0, 0, {}};
    fay.recorder.beginRun(fay.name, history::Game::Plain);
    QVERIFY(fay.play(1, 1));
    storetest::FileSizeLimit full(rlim_t(QFileInfo(sandbox.storePath()).size()));
    for (int i = 0; i < 40 && fay.play(2, 3); ++i) {
    }
    fay.recorder.endRun();
    QCOMPARE(FlushSettings().keptWrites, 1);
}

// Guards CSV a spreadsheet misreads (an unquoted comma or quote in a name) or runs (a name that
// starts like a formula).
void HistoryTest::csvFieldsAreQuotedAndDefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain name") << QStringLiteral("Ada") << QStringLiteral("Ada");
    QTest::newRow("comma and quote") << QStringLiteral("Doe, \"J\"") << QStringLiteral("\"Doe, \"\"J\"\"\"");
    QTest::newRow("formula") << QStringLiteral("=1+2") << QStringLiteral("'=1+2");
    QTest::newRow("plus") << QStringLiteral("+1+cmd") << QStringLiteral("'+1+cmd");
    QTest::newRow("minus") << QStringLiteral("-2+3") << QStringLiteral("'-2+3");
    QTest::newRow("at") << QStringLiteral("@SUM(1+1)") << QStringLiteral("'@SUM(1+1)");
    QTest::newRow("tab") << QStringLiteral("\t=1") << QStringLiteral("'\t=1");
    QTest::newRow("carriage return") << QStringLiteral("\r=1") << QStringLiteral("\"'\r=1\"");
    QTest::newRow("link with quotes and comma")
        << QStringLiteral("=HYPERLINK(\"http://x\",\"y\")")
        << QStringLiteral("\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"");
    QTest::newRow("formula sign inside") << QStringLiteral("a=b") << QStringLiteral("a=b");
}

void HistoryTest::csvFieldsAreQuotedAndDefused()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(history::csvField(text), field);
    const history::TryRecord record{.timeUtcMs = 1'765'000'000'123,
                                    .runId = 4,
                                    .tryNumber = 2,
                                    .game = history::Game::FindHidden,
                                    .deck = history::Deck::Colors,
                                    .guess = 3,
                                    .target = 2,
                                    .layout = {3, 1, 2, 5, 4}};
    QCOMPARE(history::csvRow(text, record, false),
             QStringLiteral("2025-12-06T05:46:40.123Z,") + field +
                 QStringLiteral(",4,2,find-hidden,colors,0,3,2,31254,0,,0\r\n"));
}

// Guards an export that destroys the store (every account gone), replaces a FIFO, device or folder
// with a regular file, or follows a link into the store: refused, and the path is left as it was.
void HistoryTest::exportRefusesWhatItWouldDestroy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("the store") << QStringLiteral("store") << false;
    QTest::newRow("its -wal") << QStringLiteral("-wal") << false;
    QTest::newRow("its -shm") << QStringLiteral("-shm") << false;
    QTest::newRow("its -journal") << QStringLiteral("-journal") << false;
    QTest::newRow("a new name in its folder") << QStringLiteral("beside") << false;
    QTest::newRow("a link to the store") << QStringLiteral("link") << false;
    QTest::newRow("a FIFO") << QStringLiteral("fifo") << false;
    QTest::newRow("a folder") << QStringLiteral("folder") << false;
    QTest::newRow("a device") << QStringLiteral("device") << false;
    QTest::newRow("a dangling link") << QStringLiteral("dangling") << false;
    QTest::newRow("an existing file") << QStringLiteral("file") << true;
    QTest::newRow("a new name") << QStringLiteral("new") << true;
}

void HistoryTest::exportRefusesWhatItWouldDestroy()
{
    QFETCH(QString, kind);
    QFETCH(bool, allowed);
    StoreSandbox sandbox;
    makeOldAccount(QStringLiteral("Eve"), 1, 2);
    resetSettingsStore();
    const QString store = sandbox.storePath();
    const QString elsewhere = sandbox.home() + QStringLiteral("/out");
    QString path = elsewhere;
    if (kind == QStringLiteral("store"))
        path = store;
    else if (kind.startsWith(u'-'))
        path = store + kind;
    else if (kind == QStringLiteral("beside"))
        path = QFileInfo(store).absolutePath() + QStringLiteral("/eve.csv");
    else if (kind == QStringLiteral("link"))
        QVERIFY(QFile::link(store, path));
    else if (kind == QStringLiteral("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QStringLiteral("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (kind == QStringLiteral("device"))
        path = QStringLiteral("/dev/null");
    else if (kind == QStringLiteral("dangling"))
        QVERIFY(QFile::link(sandbox.home() + QStringLiteral("/none"), path));
    else if (kind == QStringLiteral("file"))
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    QFile::remove(store + QStringLiteral("-journal"));
    const auto state = [](const QString &at) {
        struct stat status
        {
        };
        const bool there = ::lstat(QFile::encodeName(at).constData(), &status) == 0;
        QFile file(at);
        const QByteArray bytes =
            QFileInfo(at).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return std::make_tuple(there, status.st_ino, status.st_mode, bytes);
    };
    const history::AccountHistory eve = readBack(store, QStringLiteral("eve"));
    const auto before = state(path);
    const auto storeBefore = state(store);

    QString reason;
    QCOMPARE(history::exportCsv(path, store, eve, &reason), allowed);
    QCOMPARE(reason.isEmpty(), allowed);
    QCOMPARE(state(store), storeBefore);
    if (!allowed)
        QCOMPARE(state(path), before);
    else
        QVERIFY(std::get<3>(state(path)).startsWith(history::csvHeader().toUtf8()));
}

// Guards hand-edited or damaged rows counted as true: each is left out of the tries, runs and counts,
// named, and still exported with valid 0.
void HistoryTest::impossibleRowsAreLeftOutYetExported_data()
{
    QTest::addColumn<QByteArray>("edit");
    QTest::addColumn<int>("leftOut");
    QTest::newRow("guess beyond 5") << QByteArray(
                                           "UPDATE history_try SET guess = 99999 WHERE try = 2 AND game = 1")
                                    << 1;
    QTest::newRow("target below 1") << QByteArray(
                                           "UPDATE history_try SET target = -1 WHERE try = 2 AND game = 1")
                                    << 1;
    QTest::newRow("hit flag disagrees")
        << QByteArray("UPDATE history_try SET hit = 1 - hit WHERE try = 3 AND game = 1") << 1;
    QTest::newRow("text in a number")
        << QByteArray("UPDATE history_try SET deck = 'x' WHERE try = 1 AND game = 1") << 1;
    QTest::newRow("empty time") << QByteArray(
                                       "UPDATE history_try SET time_ms = '' WHERE try = 1 AND game = 2")
                                << 1;
    QTest::newRow("time after 9999")
        << QByteArray("UPDATE history_try SET time_ms = 253402300800000 WHERE try = 1 AND game = 2") << 1;
    QTest::newRow("layout no order")
        << QByteArray("UPDATE history_try SET layout = 99999999999 WHERE game = 2 AND try = 2") << 1;
    QTest::newRow("layout repeats a face")
        << QByteArray("UPDATE history_try SET layout = 12344 WHERE game = 2 AND try = 2") << 1;
    QTest::newRow("run ends before it starts")
        << QByteArray(
               "UPDATE history_run_end SET end_ms = 0 WHERE run_id = (SELECT min(id) FROM history_run)")
        << 3;
    QTest::newRow("run hits above lifetime hits")
        << QByteArray("UPDATE setting SET value = '1' WHERE key = 'Hits'") << 3;
}

void HistoryTest::impossibleRowsAreLeftOutYetExported()
{
    QFETCH(QByteArray, edit);
    QFETCH(int, leftOut);
    StoreSandbox sandbox;
    makeOldAccount(QStringLiteral("Fay"), 0, 0);
    {
        Player fay{QStringLiteral("Fay"), 0, 0, {}};
        fay.recorder.beginRun(fay.name, history::Game::Plain);
        for (const int guess : {2, 2, 3})
            QVERIFY(fay.play(guess, 2));
        fay.recorder.beginRun(fay.name, history::Game::FindHidden);
        QVERIFY(fay.play(1, 5, history::Deck::Zener, {1, 2, 3, 4, 5}));
        QVERIFY(fay.play(2, 5, history::Deck::Zener, {1, 2, 3, 4, 5}));
    }
    resetSettingsStore();
    QVERIFY(readBack(sandbox.storePath(), QStringLiteral("fay")).rejected.empty());
    sqlOn(sandbox.storePath(), edit.constData());

    const history::AccountHistory account = readBack(sandbox.storePath(), QStringLiteral("fay"));
    QCOMPARE(int(account.rejected.size()), leftOut);
    QCOMPARE(int(account.tries.size()), 5 - leftOut);
    QVERIFY(!account.rejected[0].why.isEmpty());
    int runTries = 0;
    for (const history::RunRecord &run : account.runs)
        runTries += run.tries;
    QCOMPARE(runTries, 5 - leftOut);
    const QString csv = sandbox.home() + QStringLiteral("/fay.csv");
    QString reason;
    QVERIFY(history::exportCsv(csv, sandbox.storePath(), account, &reason));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QCOMPARE(text.count("\r\n"), 10); // header, 5 tries, each run's start and end
    QCOMPARE(text.count(",0,try,"), leftOut);
}

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_History.moc"
