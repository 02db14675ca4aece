// The users' totals and the record of their tries survive a program killed at any moment, and two
// copies of the program writing at once. Both drive the real store code in a separate process
// (store_guess_driver).

#include "tests/settings/StoreTestSupport.h"
#include "tests/support/HistoryTestSupport.h"

#include "history/RecordVerify.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <optional>

#include <sqlite3.h>

using storetest::StoreSandbox;

namespace {

struct Ack
{
    int hits = 0;
    int tries = 0;
};

// Collects the driver's complete output lines; the last acknowledged guess and any fault.
struct DriverOutput
{
    QByteArray buffer;
    Ack last;   // the last guess acknowledged as durable
    Ack latest; // the last guess made, durable or kept for the next write
    int acks = 0;
    int kept = 0;
    QStringList faults;

    void take(const QByteArray &bytes)
    {
        buffer += bytes;
        qsizetype end;
        while ((end = buffer.indexOf('\n')) >= 0) {
            const QByteArray line = buffer.left(end);
            buffer.remove(0, end + 1);
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 3 && words[0] == "ack") {
                last = latest = {words[1].toInt(), words[2].toInt()};
                ++acks;
            } else if (words.size() == 3 && words[0] == "kept") {
                latest = {words[1].toInt(), words[2].toInt()};
                ++kept;
            } else {
                faults << QString::fromUtf8(line);
            }
        }
    }
    // Reads until `wanted` guesses were acknowledged, a fault came, or the time is up.
    void waitForAcks(QProcess &driver, int wanted, int ms)
    {
        QElapsedTimer waited;
        waited.start();
        while (acks < wanted && faults.isEmpty() && waited.elapsed() < ms) {
            driver.waitForReadyRead(100);
            take(driver.readAllStandardOutput());
        }
    }
};

struct StoreCheck
{
    QString integrity;
    Ack totals;
    int recordedTries = 0;
    // Where the account's history began: the stored tries before its first recorded try.
    std::optional<int> triesBefore;
};

// The first column of the first row for the folded user name (and key), if there is a row; stored
// totals are read as the program reads them.
std::optional<int> userCount(sqlite3 *db, const char *sql, const QByteArray &folded, const char *key = "")
{
    std::optional<int> value;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 2, key, -1, SQLITE_STATIC);
        if (sqlite3_step(statement) == SQLITE_ROW)
            value = readCount(
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
    }
    sqlite3_finalize(statement);
    return value;
}

// Looks at the file as the next start of the program finds it. The connection does not checkpoint
// when it closes, so the next driver run meets the -wal exactly as the killed one left it.
StoreCheck checkStore(const QString &path, const QString &user)
{
    StoreCheck check;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW)
                check.integrity +=
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        }
        sqlite3_finalize(statement);
    }
    const QByteArray folded = SettingsStore::foldName(user).toUtf8();
    const char *total = "SELECT value FROM setting WHERE application_fold = 'orvanta' AND section_fold = ?1"
                        " AND key_fold = ?2";
    check.totals = {userCount(db, total, folded, "hits").value_or(0),
                    userCount(db, total, folded, "tries").value_or(0)};
    check.recordedTries = userCount(db,
                                    "SELECT count(*) FROM history_try t JOIN history_run r ON r.id = t.run_id"
                                    " WHERE r.section_fold = ?1",
                                    folded)
                              .value_or(0);
    check.triesBefore =
        userCount(db, "SELECT tries_before FROM history_account WHERE section_fold = ?1", folded);
    if (check.integrity.isEmpty())
        check.integrity = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return check;
}

} // namespace

class tst_StoreCrash : public QObject
{
    Q_OBJECT

private slots:
    // Guards against a write acknowledged before it is durable, and against a kill during opening,
    // creation or a commit leaving a file that no longer opens. Each killed driver held the account:
    // a hold left stale by a kill would refuse the next run.
    void killedAtRandomMomentsLosesNoAcknowledgedGuess()
    {
        StoreSandbox sandbox;
        const QString user = QStringLiteral("Alice");
        // An account from before the history: its 5 tries stay outside the record.
        historytest::makeOldAccount(user, 1, 5);
        resetSettingsStore();
        Ack acknowledged{1, 5};
        QRandomGenerator random(QRandomGenerator::global()->generate());
        int killsAfterAcks = 0;
        for (int run = 0; run < 100; ++run) {
            QProcess driver;
            driver.start(QStringLiteral(QXO_GUESS_DRIVER), {user});
            QVERIFY2(driver.waitForStarted(), qPrintable(driver.errorString()));
            DriverOutput output;
            if (run % 5 == 0) {
                // Any moment from start-up on: opening, creating the file, the first commits.
                QThread::usleep(random.bounded(20000));
            } else {
                // A few guesses in, then a moment inside the next commit.
                const int wanted = 1 + int(random.bounded(6));
                output.waitForAcks(driver, wanted, 5000);
                QVERIFY2(output.acks >= wanted, qPrintable(output.faults.join(u'\n')));
                QThread::usleep(random.bounded(4000));
                ++killsAfterAcks;
            }
            driver.kill();
            QVERIFY(driver.waitForFinished());
            output.take(driver.readAllStandardOutput());
            QVERIFY2(output.faults.isEmpty(), qPrintable(output.faults.join(u'\n')));
            if (output.acks > 0)
                acknowledged = output.last;

            if (QFileInfo::exists(sandbox.storePath())) {
                const StoreCheck check = checkStore(sandbox.storePath(), user);
                QCOMPARE(check.integrity, QStringLiteral("ok"));
                // The guess in flight may or may not have landed; nothing acknowledged may be missing.
                const Ack stored = check.totals;
                QVERIFY2(stored.tries == acknowledged.tries || stored.tries == acknowledged.tries + 1,
                         qPrintable(QStringLiteral("run %1: acknowledged %2 tries, stored %3")
                                        .arg(run)
                                        .arg(acknowledged.tries)
                                        .arg(stored.tries)));
                QVERIFY(stored.hits >= acknowledged.hits && stored.hits <= acknowledged.hits + 1);
                // Stored Tries = recorded tries + tries before the history began, after every kill.
                QCOMPARE(stored.tries, check.recordedTries + check.triesBefore.value_or(stored.tries));
                QCOMPARE(check.triesBefore.value_or(5), 5);
                acknowledged = stored;
            }
            QCOMPARE(sandbox.setAsideNames(), QStringList());
        }
        QVERIFY(killsAfterAcks >= 75);
        QVERIFY(acknowledged.tries >= killsAfterAcks);

        // Every killed run kept its tries but never revealed its seed: unverifiable, never a
        // mismatch. One more run that ends as a run should verifies, and so does everything else.
        QProcess lastDriver;
        lastDriver.start(QStringLiteral(QXO_GUESS_DRIVER), {user, QStringLiteral("300")});
        QVERIFY(lastDriver.waitForFinished(30000) && lastDriver.exitCode() == 0);
        QString reason;
        const auto verified = history::verifyStoredRecord(sandbox.storePath(), user, &reason);
        QVERIFY2(verified, qPrintable(reason));
        QVERIFY2(verified->holds(), qPrintable(verified->firstProblem));
        QCOMPARE(verified->chain.runsVerified, 1);
        QVERIFY(verified->chain.runsUnverifiable >= killsAfterAcks);
        QCOMPARE(verified->chain.triesBeforeChain, 0);
    }

    // Two copies of the program, each playing its own user: every acknowledged total is stored.
    void twoProcessesWritingAtOnceLoseNothing()
    {
        StoreSandbox sandbox;
        const QStringList users{QStringLiteral("Alice"), QStringLiteral("alice\u2019s brother")};
        QProcess drivers[2];
        for (int i = 0; i < 2; ++i)
            drivers[i].start(QStringLiteral(QXO_GUESS_DRIVER), {users[i], QStringLiteral("2500")});
        DriverOutput outputs[2];
        for (int i = 0; i < 2; ++i) {
            QVERIFY(drivers[i].waitForFinished(30000));
            QCOMPARE(drivers[i].exitStatus(), QProcess::NormalExit);
            QCOMPARE(drivers[i].exitCode(), 0);
            outputs[i].take(drivers[i].readAllStandardOutput());
            QVERIFY2(outputs[i].faults.isEmpty(), qPrintable(outputs[i].faults.join(u'\n')));
            // Both really wrote while the other did.
            QVERIFY2(outputs[i].acks >= 20, qPrintable(QString::number(outputs[i].acks)));
        }
        for (int i = 0; i < 2; ++i) {
            const StoreCheck check = checkStore(sandbox.storePath(), users[i]);
            QCOMPARE(check.integrity, QStringLiteral("ok"));
            // Guesses kept while the other held the file went in with a later write or at the end.
            const Ack stored = check.totals;
            QCOMPARE(stored.tries, outputs[i].latest.tries);
            QCOMPARE(stored.hits, outputs[i].latest.hits);
            QCOMPARE(stored.tries, outputs[i].acks + outputs[i].kept);
            QVERIFY2(outputs[i].kept * 20 < outputs[i].acks, qPrintable(QString::number(outputs[i].kept)));
            QCOMPARE(check.recordedTries, stored.tries);
        }
    }

    // Two copies on one account would each store their own totals over the other's: the second is
    // refused while the first plays, and every guess of the first is stored.
    void secondCopyOnOneAccountIsRefused()
    {
        StoreSandbox sandbox;
        QProcess first;
        first.start(QStringLiteral(QXO_GUESS_DRIVER), {QStringLiteral("Alice"), QStringLiteral("2000")});
        DriverOutput firstOutput;
        firstOutput.waitForAcks(first, 1, 10000);
        QVERIFY(firstOutput.acks > 0);
        QProcess second;
        second.start(QStringLiteral(QXO_GUESS_DRIVER), {QStringLiteral("ALICE"), QStringLiteral("1000")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 3);
        QCOMPARE(second.readAllStandardOutput(), QByteArray("in-use\n"));
        QVERIFY(first.state() == QProcess::Running);
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(first.exitCode(), 0);
        firstOutput.take(first.readAllStandardOutput());
        QVERIFY2(firstOutput.faults.isEmpty(), qPrintable(firstOutput.faults.join(u'\n')));
        const StoreCheck check = checkStore(sandbox.storePath(), QStringLiteral("Alice"));
        QCOMPARE(check.totals.tries, firstOutput.acks + firstOutput.kept);
        QCOMPARE(check.totals.hits, firstOutput.latest.hits);
    }
};

QTEST_GUILESS_MAIN(tst_StoreCrash)
#include "tst_store_crash.moc"
