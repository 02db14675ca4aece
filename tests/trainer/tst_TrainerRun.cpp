// The trainer's counting without a window: test and practice runs, both games, the count limit, the
// stored totals and the record, and a change of user.

#include "trainer/TrainerRun.h"

#include "history/HistorySchema.h"
#include "history/TryHistory.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "tests/support/PinnedSeal.h"

#include <QTemporaryDir>
#include <QTest>

#include <deque>

namespace {

// Deals the chosen face 2 and faces 1..5 in hidden positions 1..5 (so cover 2 alone is a hit), then 0s.
struct ScriptedDraws : DrawSource
{
    std::deque<double> values{0.2, 0.0, 0.2, 0.4, 0.6, 0.8};
    double next() override
    {
        const double r = values.empty() ? 0 : values.front();
        if (!values.empty())
            values.pop_front();
        return r;
    }
};

QString stored(const char *key)
{
    return GetSetting(QStringLiteral("Orvanta"), QStringLiteral("Ada"), QString::fromLatin1(key),
                      QStringLiteral("-"));
}

// The first cover whose face is (or, with match false, is not) the chosen face.
std::int16_t coverWhere(const DealtFaceIndexes &dealt, bool match)
{
    for (std::int16_t cover = 1; cover <= 5; ++cover)
        if ((dealt[cover] == dealt[0]) == match)
            return cover;
    return 0;
}

using Kind = TrainerRun::Kind;
using Outcome = TrainerRun::Outcome;

} // namespace

Q_DECLARE_METATYPE(TrainerRun::Kind)
Q_DECLARE_METATYPE(TrainerRun::Outcome)
Q_DECLARE_METATYPE(history::Game)

class TrainerRunTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_dir.reset(); }

    void countsOneGuess_data();
    void countsOneGuess();
    void testRunPutsEachTryOnRecord();
    void anotherUserStartsFromTheOpeningState();
    void declaredSeriesClosesAtItsLastTry();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TrainerRunTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_dir->path().toUtf8());
    qputenv("HOME", m_dir->path().toUtf8());
    resetSettingsStore();
    history::schema::install(); // as the program does at start
    SaveSetting(QStringLiteral("Orvanta"), QStringLiteral("Ada"), QStringLiteral("UserName"),
                QStringLiteral("Ada"));
}

// Guards the counting rules: a test run continues the user's totals and stores them after every guess;
// practice counts from zero and never touches the totals or the store; a guess that would take the
// tries, or a hit that would take the hits (a store filled by hand), past 32767 is not counted or
// stored, while a miss still counts when only the hits are full.
void TrainerRunTest::countsOneGuess_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<history::Game>("game");
    QTest::addColumn<int>("userHits");
    QTest::addColumn<int>("userTries");
    QTest::addColumn<int>("position"); // 1..5; the target (or chosen face) is 2 in every row
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("runHits");
    QTest::addColumn<int>("runTries");

    const auto plain = history::Game::Plain, hidden = history::Game::FindHidden;
    const auto test = Kind::Test, practice = Kind::Practice;
    // clang-format off
    QTest::newRow("test hit continues the totals") << test << plain << 7 << 30 << 2 << Outcome::Hit << 8 << 31;
    QTest::newRow("test miss") << test << plain << 7 << 30 << 4 << Outcome::Miss << 7 << 31;
    QTest::newRow("find-hidden hit") << test << hidden << 0 << 0 << 2 << Outcome::Hit << 1 << 1;
    QTest::newRow("find-hidden miss") << test << hidden << 0 << 0 << 5 << Outcome::Miss << 0 << 1;
    QTest::newRow("practice from zero") << practice << plain << 3 << 9 << 2 << Outcome::Hit << 1 << 1;
    QTest::newRow("find-hidden practice") << practice << hidden << 3 << 9 << 1 << Outcome::Miss << 0 << 1;
    QTest::newRow("last try, a hit") << test << plain << 32766 << 32766 << 2 << Outcome::Hit << 32767 << 32767;
    QTest::newRow("tries full") << test << plain << 100 << 32767 << 4 << Outcome::NotCounted << 100 << 32767;
    QTest::newRow("hits full, a hit") << test << plain << 32767 << 100 << 2 << Outcome::NotCounted << 32767 << 100;
    QTest::newRow("hits full, a miss counts") << test << hidden << 32767 << 100 << 3 << Outcome::Miss << 32767 << 101;
    // clang-format on
}

void TrainerRunTest::countsOneGuess()
{
    QFETCH(Kind, kind);
    QFETCH(history::Game, game);
    QFETCH(int, userHits);
    QFETCH(int, userTries);
    QFETCH(int, position);
    QFETCH(Outcome, outcome);
    QFETCH(int, runHits);
    QFETCH(int, runTries);

    const PinnedSeal seal;
    TrainerRun run(std::make_unique<ScriptedDraws>());
    run.showFor(QStringLiteral("Ada"), std::int16_t(userHits), std::int16_t(userTries));
    run.start(kind, game);
    QCOMPARE(run.PracticeRun(), kind == Kind::Practice);
    auto guess = std::int16_t(position);
    if (game == history::Game::Plain) {
        QCOMPARE(run.countPlainGuess(guess, 2, {}), outcome);
    } else {
        // Practice deals from the window's generator; a test run only from its sealed stream. There
        // the row's cover 2 stands for the cover that matches, any other for one that does not.
        const DealtFaceIndexes dealt =
            kind == Kind::Practice ? DealtFaceIndexes{2, 1, 2, 3, 4, 5} : dealFaceIndexes(*seal.twin());
        QCOMPARE(run.deal(), dealt);
        if (kind == Kind::Test)
            guess = coverWhere(dealt, position == 2);
        QCOMPARE(run.countHiddenGuess(guess, {}), outcome);
    }
    QCOMPARE(int(run.RunHits()), runHits);
    QCOMPARE(int(run.RunTries()), runTries);
    // A test run's counts are the user's totals, stored at once; practice leaves both alone.
    const bool stores = kind == Kind::Test && outcome != Outcome::NotCounted;
    QCOMPARE(int(run.UserHits()), kind == Kind::Test ? runHits : userHits);
    QCOMPARE(int(run.UserTries()), kind == Kind::Test ? runTries : userTries);
    QCOMPARE(stored("Tries"), stores ? QString::number(runTries) : QStringLiteral("-"));
    QCOMPARE(stored("Hits"), stores ? QString::number(runHits) : QStringLiteral("-"));
}

// Guards the record: each counted test try goes on record with the totals, in a run of its own game
// (a new Test is a new run), with its guess, target, deal, deck, Play Blind and a response time.
void TrainerRunTest::testRunPutsEachTryOnRecord()
{
    // As a login leaves them: the totals shown are the stored ones.
    SaveSetting(QStringLiteral("Orvanta"), QStringLiteral("Ada"), QStringLiteral("Hits"),
                QStringLiteral("7"));
    SaveSetting(QStringLiteral("Orvanta"), QStringLiteral("Ada"), QStringLiteral("Tries"),
                QStringLiteral("30"));
    const PinnedSeal seal;
    DealtFaceIndexes dealt{};
    {
        TrainerRun run(std::make_unique<ScriptedDraws>());
        run.showFor(QStringLiteral("Ada"), 7, 30);
        run.start(Kind::Test, history::Game::Plain);
        QCOMPARE(run.countPlainGuess(4, 4, {history::Deck::Colors, true}), Outcome::Hit);
        run.start(Kind::Test, history::Game::FindHidden);
        dealt = run.deal();
        QCOMPARE(dealt, dealFaceIndexes(*seal.twin())); // the sealed stream's first deal
        QCOMPARE(run.countHiddenGuess(coverWhere(dealt, false), {}), Outcome::Miss);
        run.stop();
        QCOMPARE(stored("Tries"), QStringLiteral("32"));
    }
    TryHistory reader(SettingsStore::defaultFilePath());
    QString reason;
    QVERIFY(reader.open(&reason));
    const std::optional<history::AccountHistory> ada = reader.account(QStringLiteral("ada"), &reason);
    QVERIFY2(ada, qPrintable(reason));
    QCOMPARE(ada->beforeHistoryTries, 30); // the totals the account had when its first try went on record
    QCOMPARE(ada->runs.size(), size_t(2));
    QCOMPARE(ada->runs[0].game, history::Game::Plain);
    QCOMPARE(ada->runs[1].game, history::Game::FindHidden);
    QCOMPARE(ada->tries.size(), size_t(2));
    const history::TryRecord &plain = ada->tries[0];
    QVERIFY(plain.guess == 4 && plain.target == 4 && plain.hit);
    QVERIFY(plain.blind && plain.responseMs >= 0);
    QCOMPARE(plain.deck, history::Deck::Colors);
    const history::TryRecord &hidden = ada->tries[1];
    QVERIFY(hidden.guess == coverWhere(dealt, false) && hidden.target == dealt[0] && !hidden.hit);
    for (int cover = 1; cover <= 5; ++cover)
        QCOMPARE(hidden.layout[cover - 1], dealt[cover]);
    QCOMPARE(hidden.deck, history::Deck::Zener);
}

// Guards the switch of user: another account never sees the last user's run (its score, and with it
// the meter, start as when the window opened); the same user logging in again, in any letter case,
// keeps it.
void TrainerRunTest::anotherUserStartsFromTheOpeningState()
{
    TrainerRun run(std::make_unique<ScriptedDraws>());
    QVERIFY(run.showFor(QStringLiteral("Ada"), 0, 0));
    run.start(Kind::Test, history::Game::Plain);
    run.countPlainGuess(1, 1, {});
    QVERIFY(!run.showFor(QStringLiteral("ADA"), 1, 1));
    QCOMPARE(run.RunTries(), 1);
    QCOMPARE(run.RunAccuracy(), 100.0);
    QVERIFY(run.showFor(QStringLiteral("Bob"), 4, 9));
    QVERIFY(run.CurrentUserName() == QStringLiteral("Bob") && run.UserHits() == 4 && run.UserTries() == 9);
    QVERIFY(run.RunTries() == 0 && run.RunHits() == 0 && run.RunAccuracy() == 0);
}

// Guards a series that never closes (no result comes forward), one that forgets its place when the
// trainer opens anew, and a second series declared over an open one.
void TrainerRunTest::declaredSeriesClosesAtItsLastTry()
{
    {
        TrainerRun run(std::make_unique<ScriptedDraws>());
        run.showFor(QStringLiteral("Ada"), 0, 0);
        QVERIFY(!run.declareSeries(9, history::Game::Plain, history::Deck::Zener)); // shorter than 10
        QVERIFY(run.declareSeries(10, history::Game::Plain, history::Deck::Zener));
        QVERIFY(!run.declareSeries(10, history::Game::Plain, history::Deck::Zener));
        run.start(Kind::Test, history::Game::Plain);
        for (int guess = 1; guess <= 4; ++guess)
            run.countPlainGuess(1, 1, {});
    }
    resetSettingsStore();
    TrainerRun run(std::make_unique<ScriptedDraws>());
    run.showFor(QStringLiteral("Ada"), 0, 0); // the trainer opened anew: the series is read back
    QVERIFY(run.openSeries() && run.openSeries()->tried == 4 && run.openSeries()->hits == 4);
    run.start(Kind::Test, history::Game::Plain);
    for (int guess = 5; guess <= 10; ++guess) {
        run.countPlainGuess(1, 2, {});
        QCOMPARE(run.takeClosedSeries(), guess == 10);
    }
    QVERIFY(!run.openSeries() && !run.takeClosedSeries());
    run.countPlainGuess(1, 2, {});
    QVERIFY(!run.takeClosedSeries());
}

QTEST_GUILESS_MAIN(TrainerRunTest)
#include "tst_TrainerRun.moc"
