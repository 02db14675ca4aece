// Sealed runs and the chained record: encodings pinned to values computed independently (Python's
// hashlib and hmac), the stream fair and consumed exactly as the trainer's deal consumes chance, and
// every kind of tampering caught alike by the verifier and the stand-alone script on an exported CSV.

#include "proof/RecordCsv.h"
#include "proof/SealedRun.h"
#include "stats/ChiSquared.h"
#include "trainer/DealOrder.h"
#include "trainer/FaceDraw.h"
#include "trainer/RandomSource.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <tuple>
#include <random>

using namespace proof;

namespace {

const QString kAccount = QStringLiteral("=Straße"); // a formula guard in the CSV, and a fold
const QString kFolded = QStringLiteral("=straße");
constexpr std::int64_t kPlain = 1;
constexpr std::int64_t kFindHidden = 2;

Digest countingSeed()
{
    Digest seed{};
    for (std::size_t i = 0; i < seed.size(); ++i)
        seed[i] = static_cast<unsigned char>(i);
    return seed;
}

ChainRow makeRow(RowKind kind, std::int64_t time, std::int64_t run, std::int64_t game,
                 const Digest &secret = {})
{
    ChainRow row;
    row.kind = kind;
    row.timeUtcMs = time;
    row.run = run;
    row.game = game;
    row.secret = secret;
    return row;
}

ChainRow makeTry(std::int64_t time, std::int64_t run, std::int64_t number, std::int64_t game,
                 std::array<std::int64_t, 7> deckBlindGuessTargetLayoutHitResponse)
{
    ChainRow row = makeRow(RowKind::Try, time, run, game);
    row.tryNumber = number;
    const auto &f = deckBlindGuessTargetLayoutHitResponse;
    std::tie(row.deck, row.blind, row.guess, row.target, row.layout, row.hit, row.responseMs) =
        std::tie(f[0], f[1], f[2], f[3], f[4], f[5], f[6]);
    return row;
}

// The trainer's own generator seen as a draw source, to compare the two deals draw for draw.
class TrainerChance : public proof::DrawSource
{
public:
    explicit TrainerChance(std::uint64_t seed) : m_random(seed) {}
    double next() override { return m_random.next(); }

private:
    RandomSource m_random;
};

// Plays one sealed run as the trainer does: a target per try (plain) or a deal per try
// (find-hidden), guesses from a fixed generator; appends its rows, without its end when it crashed.
void playRun(std::vector<ChainRow> &rows, std::int64_t run, std::int64_t game, int tries, bool crashed)
{
    const std::int64_t start = 1765295300000 + run * 600000;
    Digest seed = countingSeed();
    seed[0] = static_cast<unsigned char>(run); // fixed, so every tampering case meets the same draws
    DrawStream draws(seed);
    rows.push_back(
        makeRow(RowKind::RunStart, start, run, game, commitment(seed, RunIdentity{kFolded, game, start})));
    std::mt19937 guesses{std::uint32_t(run)};
    for (int t = 1; t <= tries; ++t) {
        ChainRow row = makeTry(start + t * 1500, run, t, game, {(run + t) % 3, t % 2});
        row.guess = 1 + std::int64_t(guesses() % 5);
        if (game == kFindHidden) {
            const DealtFaces dealt = dealFaces(draws);
            row.target = dealt[0];
            for (std::size_t cover = 1; cover <= 5; ++cover)
                row.layout = row.layout * 10 + dealt[cover];
            row.hit = dealt[std::size_t(row.guess)] == dealt[0];
        } else {
            row.target = pickTarget(draws);
            row.hit = row.guess == row.target;
        }
        row.responseMs = t == 2 ? -1 : 400 + t;
        rows.push_back(row);
    }
    if (!crashed)
        rows.push_back(makeRow(RowKind::RunEnd, start + 590000, run, 0, seed));
}

// Two tries from before the chain, a series, three sealed runs over both games and all decks, the
// series ended early, and a run cut off by a crash. Row indexes the tampering table refers to:
//   0-1 before the chain; 2 series; 3 start, 4-9 tries, 10 end (plain); 11 start, 12-17 tries,
//   18 end (find-hidden); 19 start, 20-23 tries, 24 end (plain); 25 series end; 26 start, 27-29 tries.
std::vector<ChainRow> honestRecord()
{
    std::vector<ChainRow> rows;
    rows.push_back(makeTry(1765000000000, 1, 1, kPlain, {0, 0, 2, 4, 0, 0, 700}));
    rows.push_back(makeTry(1765000002000, 1, 2, kPlain, {0, 0, 3, 3, 0, 1, -1}));
    std::vector<ChainRow> chained{makeRow(RowKind::Series, 1765295000000, 0, kPlain)};
    chained.back().tryNumber = 10;
    chained.back().deck = 2;
    playRun(chained, 2, kPlain, 6, false);
    playRun(chained, 3, kFindHidden, 6, false);
    playRun(chained, 4, kPlain, 4, false);
    chained.push_back(makeRow(RowKind::SeriesEnd, 1765299000000, 0, 0));
    playRun(chained, 5, kFindHidden, 3, true);
    linkRows(kFolded, chained);
    rows.insert(rows.end(), chained.begin(), chained.end());
    return rows;
}

// Builds the chain anew after an edit, as someone who controls the machine could.
void relink(std::vector<ChainRow> &rows)
{
    std::vector<ChainRow> chained(rows.begin() + 2, rows.end());
    linkRows(kFolded, chained);
    std::copy(chained.begin(), chained.end(), rows.begin() + 2);
}

QByteArray csvOf(const std::vector<ChainRow> &rows)
{
    QString text = recordCsvHeader();
    for (const ChainRow &row : rows)
        text += recordCsvLine(kAccount, row);
    return text.toUtf8();
}

using Tamper = std::function<void(std::vector<ChainRow> &)>;

} // namespace

class tst_Proof : public QObject
{
    Q_OBJECT

private slots:
    // Guards the documented encodings: a third party's script computes exactly these bytes.
    void encodingsMatchIndependentValues()
    {
        const Digest seed = countingSeed();
        QCOMPARE(toHex(commitment(seed, {QStringLiteral("straße"), kFindHidden, 1765295300123})),
                 QStringLiteral("0804b8b9c24e69b19329edef58d774daec14101bc5f31e0adcad09df2c0ad7df"));
        const Digest first = firstLink(QStringLiteral("straße"));
        QCOMPARE(toHex(first),
                 QStringLiteral("b301a714ecce855f1360fa14296cc9f78504fc71a1f87be33028b2917e633722"));
        const ChainRow row = makeTry(1765295305123, 7, 1, kFindHidden, {1, 0, 3, 4, 31524, 0, 812});
        QCOMPARE(toHex(nextLink(first, row)),
                 QStringLiteral("139abb20d8a530d22f417c87d3bc342b59cfd40f7000a2b6b8c8e43db5d2242c"));

        DrawStream words(seed);
        QCOMPARE(words.nextWord(), 0xbbe6bae33fb62828ull); // HMAC block 0, bytes 0-7
        DrawStream faces(seed);
        QString drawn;
        for (int i = 0; i < 16; ++i)
            drawn += QString::number(pickTarget(faces));
        QCOMPARE(drawn, QStringLiteral("4512152251344214"));
        QString deals;
        for (const ReplayedTry &dealt : replayRun(seed, kFindHidden, 3))
            deals +=
                QString::number(dealt.target) + u'/' + QString::number(layoutNumber(dealt.layout)) + u' ';
        QCOMPARE(deals, QStringLiteral("4/51234 4/21435 4/31542 "));
    }

    // Guards drift between play and replay: the sealed deal consumes chance as the trainer's does.
    void dealConsumesChanceAsTheTrainerDoes()
    {
        for (std::uint64_t seed = 1; seed <= 2000; ++seed) {
            TrainerChance ours(seed);
            RandomSource theirs(seed);
            QCOMPARE(dealFaces(ours), dealFaceIndexes(theirs));
            QCOMPARE(pickTarget(ours), facedraw::drawFace(theirs));
        }
        for (const double r :
             {0.0, 0.2, 0.4 - 1e-17, 0.999999999, 1 - 0x1.0p-53, 1.0, -0.5, 7.0, std::nan("")})
            QCOMPARE(faceFromUnit(r), facedraw::faceFromUnit(r));
    }

    // Each face about one time in five, each deal a placement of all five faces (fixed seeds, so
    // stable); the test rejects a stream that favours one face.
    void streamIsFair()
    {
        std::vector<std::int64_t> faces(5), biased(5);
        DrawStream stream(countingSeed());
        for (int i = 0; i < 200000; ++i) {
            const std::int16_t face = pickTarget(stream);
            ++faces[std::size_t(face - 1)];
            ++biased[std::size_t(i % 50 == 0 ? 0 : face - 1)]; // one face 2 % more often
        }
        QVERIFY2(stats::chiSquaredUniform(faces).p > 0.001, "the stream's faces are not uniform");
        QVERIFY(stats::chiSquaredUniform(biased).p < 0.001);
        for (const ReplayedTry &dealt : replayRun(countingSeed(), kFindHidden, 500)) {
            auto sorted = dealt.layout;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(sorted, (std::array<std::int8_t, 5>{1, 2, 3, 4, 5}));
        }
    }

    void sealedRunCommitsToTheSeedItReveals()
    {
        const RunIdentity identity{kFolded, kPlain, 1765295300000};
        SealedRun a(identity), b(identity);
        QVERIFY(a.reveal() != b.reveal());
        QCOMPARE(commitment(a.reveal(), identity), a.commitment());
        const auto replayed = replayRun(a.reveal(), kPlain, 50);
        for (const ReplayedTry &one : replayed)
            QCOMPARE(pickTarget(a.draws()), one.target);
    }

    void tamperingIsCaught_data()
    {
        QTest::addColumn<Tamper>("tamper");
        QTest::addColumn<int>("row"); // -1: everything holds
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("verified");
        const auto edit = [](int row, std::function<void(ChainRow &)> change, bool rebuilt) {
            return Tamper([=](std::vector<ChainRow> &rows) {
                change(rows[std::size_t(row)]);
                if (rebuilt)
                    relink(rows);
            });
        };
        const auto flipHit = [](ChainRow &r) { r.hit = 1 - r.hit; };
        const auto otherGuess = [](ChainRow &r) { r.guess = r.guess % 5 + 1; };
        const auto otherSecret = [](ChainRow &r) { r.secret[0] ^= 1; };
        const auto swapCovers = [](ChainRow &r) { r.layout = r.layout % 100 * 1000 + r.layout / 100; };
        QTest::newRow("honest record") << Tamper([](auto &) {}) << -1 << QString() << 3;
        QTest::newRow("hit flag flipped") << edit(6, flipHit, false) << 6 << "chain" << 2;
        QTest::newRow("hit flag flipped, chain rebuilt") << edit(6, flipHit, true) << 6 << "hit" << 2;
        QTest::newRow("guess changed") << edit(14, otherGuess, false) << 14 << "chain" << 3;
        QTest::newRow("deal changed, chain rebuilt") << edit(14, swapCovers, true) << 14 << "draw" << 2;
        QTest::newRow("try deleted") << Tamper([](auto &rows) { rows.erase(rows.begin() + 13); }) << 13
                                     << "chain" << 2;
        QTest::newRow("try deleted, chain rebuilt")
            << Tamper([](auto &rows) { rows.erase(rows.begin() + 13), relink(rows); }) << 13 << "order" << 2;
        QTest::newRow("two tries swapped")
            << Tamper([](auto &rows) { std::swap(rows[7], rows[8]); }) << 7 << "chain" << 2;
        QTest::newRow("two tries swapped and renumbered, chain rebuilt") << Tamper([](auto &rows) {
            std::swap(rows[7], rows[8]);
            std::swap(rows[7].tryNumber, rows[8].tryNumber);
            relink(rows);
        }) << 7 << "draw" << 2;
        QTest::newRow("revealed seed changed") << edit(18, otherSecret, false) << 18 << "chain" << 2;
        QTest::newRow("revealed seed changed, chain rebuilt")
            << edit(18, otherSecret, true) << 18 << "seed" << 2;
        QTest::newRow("commitment changed") << edit(11, otherSecret, false) << 11 << "chain" << 2;
        QTest::newRow("commitment changed, chain rebuilt")
            << edit(11, otherSecret, true) << 18 << "seed" << 2;
        QTest::newRow("chain value removed") << edit(
                                                    20, [](ChainRow &r) { r.link.reset(); }, false)
                                             << 20 << "before-chain" << 2;
    }

    // Guards the claim that any edit shows: the verifier names the first bad row, and the script,
    // reading the exported file alone, names the same row and the same fault.
    void tamperingIsCaught()
    {
        QFETCH(Tamper, tamper);
        QFETCH(int, row);
        QFETCH(QString, problem);
        QFETCH(int, verified);
        std::vector<ChainRow> rows = honestRecord();
        tamper(rows);

        const VerifyReport report = verifyRecord(kFolded, rows);
        QCOMPARE(report.firstProblemRow, row);
        QCOMPARE(problemName(report.firstProblem), problem);
        QCOMPARE(report.runsVerified, verified);
        QCOMPARE(report.runsUnverifiable, 1);
        QCOMPARE(report.unverifiableTries, 3);
        QCOMPARE(report.triesBeforeChain, 2);

        const CsvRecord fromFile = readRecordCsv(csvOf(rows));
        QCOMPARE(fromFile.account, kAccount);
        const VerifyReport fileReport = verifyRecord(fromFile.account.toCaseFolded(), fromFile.rows);
        QCOMPARE(fileReport.firstProblemRow, row);
        QCOMPARE(fileReport.runsVerified, verified);
        QCOMPARE(fileReport.fingerprint, report.fingerprint);

        // The system's interpreter first: a version manager's shim takes seconds to start.
        QString python =
            QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
        if (python.isEmpty())
            python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        QVERIFY2(!python.isEmpty(), "python3 is needed to check the stand-alone script");
        QTemporaryDir dir;
        QFile csv(dir.filePath(QStringLiteral("record.csv")));
        QVERIFY(csv.open(QIODevice::WriteOnly) && csv.write(csvOf(rows)) > 0);
        csv.close();
        QProcess script;
        script.start(python,
                     {qEnvironmentVariable("QXO_SOURCE_DIR") + QStringLiteral("/docs/verify_record.py"),
                      csv.fileName(), QStringLiteral("--json")});
        QVERIFY(script.waitForFinished(20000));
        QCOMPARE(script.exitCode(), row < 0 ? 0 : 1);
        const QJsonObject json = QJsonDocument::fromJson(script.readAllStandardOutput()).object();
        QCOMPARE(json.value(QStringLiteral("first_problem_row")).toInt(0) - 1, row);
        QCOMPARE(json.value(QStringLiteral("first_problem")).toString(), problem);
        QCOMPARE(json.value(QStringLiteral("runs_verified")).toInt(), verified);
        QCOMPARE(json.value(QStringLiteral("runs_unverifiable")).toInt(), 1);
        QCOMPARE(json.value(QStringLiteral("fingerprint")).toString(), toHex(*report.fingerprint));
    }
};

QTEST_GUILESS_MAIN(tst_Proof)
#include "tst_Proof.moc"
