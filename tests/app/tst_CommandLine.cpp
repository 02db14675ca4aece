// The command line as a user runs it: the real program, no display, over a private store with a
// recorded history. Every run leaves the store byte for byte as it was.

#include "tests/settings/StoreTestSupport.h"
#include "tests/support/HistoryTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using storetest::StoreSandbox;

namespace {

struct Outcome
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Outcome runProgram(const QStringList &arguments)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QXO_PROGRAM), arguments);
    if (!program.waitForFinished(60000))
        return {};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            program.readAllStandardOutput(), program.readAllStandardError()};
}

// The store file and its -wal as they are now.
QByteArray storeBytes(const QString &path)
{
    QByteArray bytes;
    for (const QString &name : {path, path + QStringLiteral("-wal")}) {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll();
    }
    return bytes;
}

// Alice: 5 tries (1 hit) before the history, then a run of 30 recorded tries with 12 hits.
void recordAlice()
{
    historytest::makeOldAccount(QStringLiteral("Alice"), 1, 5);
    historytest::Player alice{QStringLiteral("alice"), 1, 5, {}};
    alice.recorder.beginRun(alice.name, history::Game::Plain);
    for (int i = 1; i <= 30; ++i)
        alice.play(1, i <= 12 ? 1 : 2);
    alice.recorder.endRun();
    resetSettingsStore();
}

} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void summaryExportAndSelfTestWithoutADisplay();
    void faultsSayOneLineAndChangeNothing();
};

// Guards the command line needing a display, a wrong or missing field, and the totals (not the
// history) being the lifetime record.
void CommandLineTest::summaryExportAndSelfTestWithoutADisplay()
{
    StoreSandbox sandbox;
    recordAlice();
    const QByteArray before = storeBytes(sandbox.storePath());

    Outcome run = runProgram({QStringLiteral("--summary"), QStringLiteral("--user"), QStringLiteral("ALICE"),
                              QStringLiteral("--json")});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject summary = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(summary.value(QStringLiteral("user")).toString(), QStringLiteral("Alice"));
    QCOMPARE(summary.value(QStringLiteral("tries")).toInt(), 35);
    QCOMPARE(summary.value(QStringLiteral("hits")).toInt(), 13);
    QCOMPARE(summary.value(QStringLiteral("history_tries")).toInt(), 30);
    QCOMPARE(summary.value(QStringLiteral("before_history_tries")).toInt(), 5);
    QCOMPARE(summary.value(QStringLiteral("expected_hits")).toDouble(), 7.0);
    QVERIFY(summary.value(QStringLiteral("p_at_least")).toDouble() < 0.05);
    QVERIFY(summary.value(QStringLiteral("verdict"))
                .toString()
                .startsWith(QStringLiteral("Chance alone scores this well")));
    const QJsonArray runs = summary.value(QStringLiteral("runs")).toArray();
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs[0].toObject().value(QStringLiteral("hits")).toInt(), 12);
    QVERIFY(runs[0].toObject().value(QStringLiteral("start")).toString().endsWith(u'Z'));

    run = runProgram({QStringLiteral("--summary"), QStringLiteral("--user"), QStringLiteral("alice")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains("Alice: 13 hits in 35 tries"));

    const QString csv = sandbox.home() + QStringLiteral("/alice.csv");
    run =
        runProgram({QStringLiteral("--export-csv"), csv, QStringLiteral("--user"), QStringLiteral("alice")});
    QCOMPARE(run.exitCode, 0);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 32); // header, 30 tries, nothing after the last line end
    QCOMPARE(lines[0],
             QByteArray("time_utc,account,run,try,game,deck,blind,guess,target,layout,hit,response_ms\r"));

    run = runProgram({QStringLiteral("--self-test"), QStringLiteral("20000"), QStringLiteral("--seed"),
                      QStringLiteral("7")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains("faces by position: chi-squared"));
    QVERIFY(run.out.contains("Nothing rejects fair chance."));

    QCOMPARE(storeBytes(sandbox.storePath()), before);
}

// Guards a crash, a silent success or a changed store where the account, the store or the output
// file cannot be used.
void CommandLineTest::faultsSayOneLineAndChangeNothing()
{
    StoreSandbox sandbox;
    const QStringList summaryOf{QStringLiteral("--summary"), QStringLiteral("--user"),
                                QStringLiteral("alice")};
    Outcome run = runProgram(summaryOf);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!QFile::exists(sandbox.storePath()));

    recordAlice();
    const QByteArray before = storeBytes(sandbox.storePath());
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--summary"), QStringLiteral("--user"), QStringLiteral("Nobody")},
          QStringList{QStringLiteral("--export-csv"), sandbox.home() + QStringLiteral("/none/x.csv"),
                      QStringLiteral("--user"), QStringLiteral("alice")}}) {
        run = runProgram(arguments);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
    }
    QVERIFY(!QFile::exists(sandbox.home() + QStringLiteral("/none")));
    QCOMPARE(runProgram({QStringLiteral("--sumary")}).exitCode, 2);
    QCOMPARE(storeBytes(sandbox.storePath()), before);

    QFile store(sandbox.storePath());
    QVERIFY(store.open(QIODevice::WriteOnly | QIODevice::Truncate));
    store.write(QByteArray(8192, 'x'));
    store.close();
    QFile::remove(sandbox.storePath() + QStringLiteral("-wal"));
    run = runProgram(summaryOf);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains(sandbox.storePath().toUtf8()) || run.err.contains("not a database"));
    QCOMPARE(storeBytes(sandbox.storePath()), QByteArray(8192, 'x'));
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_CommandLine.moc"
