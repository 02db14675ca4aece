#include "RecordChain.h"

#include "SealedRun.h"

#include <map>

namespace proof {

namespace {

const char *const kChainTag = "qxo/chain/v1";
constexpr std::int64_t kPlain = 1;
constexpr std::int64_t kFindHidden = 2;

// What the verifier keeps of a run while it walks the record.
struct RunState
{
    std::int64_t game = 0;
    std::int64_t startUtcMs = 0;
    Digest commitment{};
    std::vector<std::size_t> tryRows;
    bool ended = false;
    bool faulty = false; // one of its rows is out of order or misjudged
};

// The hit the trainer judges from the guess and the draws: the plain game's clicked position is the
// target; the find-hidden game's turned cover holds the chosen face.
bool judgedHit(const ChainRow &row)
{
    if (row.game == kPlain)
        return row.guess == row.target;
    if (row.guess < 1 || row.guess > 5 || row.layout < 0)
        return false;
    std::int64_t digits = row.layout;
    for (std::int64_t cover = 5; cover > row.guess; --cover)
        digits /= 10;
    return digits % 10 == row.target;
}

class Verifier
{
public:
    Verifier(const QString &account, const std::vector<ChainRow> &rows) : m_account(account), m_rows(rows) {}

    VerifyReport run()
    {
        Digest previous = firstLink(m_account);
        bool chainBroken = false;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const ChainRow &row = m_rows[i];
            ++m_report.rowsChecked;
            if (!row.link) {
                if (m_report.chainedRows > 0 || row.kind != RowKind::Try)
                    flag(i, Problem::BeforeChain);
                else
                    ++m_report.triesBeforeChain;
                continue;
            }
            ++m_report.chainedRows;
            if (!chainBroken && nextLink(previous, row) != *row.link) {
                flag(i, Problem::Chain);
                chainBroken = true;
            }
            previous = *row.link;
            m_report.fingerprint = row.link;
            checkRow(i, row);
        }
        for (const auto &[id, run] : m_runs) {
            if (!run.ended) {
                ++m_report.runsUnverifiable;
                m_report.unverifiableTries += int(run.tryRows.size());
            }
        }
        return m_report;
    }

private:
    void flag(std::size_t row, Problem problem)
    {
        const int index = int(row);
        if (m_report.firstProblemRow < 0 || index < m_report.firstProblemRow ||
            (index == m_report.firstProblemRow && problem < m_report.firstProblem)) {
            m_report.firstProblemRow = index;
            m_report.firstProblem = problem;
        }
    }

    void checkRow(std::size_t i, const ChainRow &row)
    {
        const auto found = m_runs.find(row.run);
        RunState *run = found == m_runs.end() ? nullptr : &found->second;
        switch (row.kind) {
        case RowKind::RunStart:
            if (run || (row.game != kPlain && row.game != kFindHidden))
                flag(i, Problem::Order);
            else
                m_runs[row.run] = RunState{row.game, row.timeUtcMs, row.secret, {}, false, false};
            break;
        case RowKind::Try:
            if (!run || run->ended || row.game != run->game ||
                row.tryNumber != std::int64_t(run->tryRows.size()) + 1) {
                flag(i, Problem::Order);
                if (run)
                    run->faulty = true;
                break;
            }
            if ((row.hit != 0) != judgedHit(row) || (row.hit != 0 && row.hit != 1)) {
                flag(i, Problem::Hit);
                run->faulty = true;
            }
            run->tryRows.push_back(i);
            break;
        case RowKind::RunEnd:
            if (!run || run->ended) {
                flag(i, Problem::Order);
                break;
            }
            run->ended = true;
            checkSealedRun(i, row.secret, *run);
            break;
        case RowKind::Series:
        case RowKind::SeriesEnd:
            break;
        default:
            flag(i, Problem::Order);
        }
    }

    void checkSealedRun(std::size_t endRow, const Digest &seed, const RunState &run)
    {
        if (commitment(seed, RunIdentity{m_account, run.game, run.startUtcMs}) != run.commitment) {
            flag(endRow, Problem::Seed);
            return;
        }
        const std::vector<ReplayedTry> replayed = replayRun(seed, run.game, int(run.tryRows.size()));
        for (std::size_t k = 0; k < replayed.size(); ++k) {
            const ChainRow &recorded = m_rows[run.tryRows[k]];
            if (recorded.target != replayed[k].target ||
                recorded.layout != layoutNumber(replayed[k].layout)) {
                flag(run.tryRows[k], Problem::Draw);
                return;
            }
        }
        if (!run.faulty)
            ++m_report.runsVerified;
    }

    const QString &m_account;
    const std::vector<ChainRow> &m_rows;
    std::map<std::int64_t, RunState> m_runs;
    VerifyReport m_report;
};

} // namespace

QByteArray canonicalBytes(const ChainRow &row)
{
    CanonicalBytes bytes;
    bytes.u8(std::uint8_t(row.kind)).i64(row.timeUtcMs);
    switch (row.kind) {
    case RowKind::RunStart:
        bytes.i64(row.run).i64(row.game).digest(row.secret);
        break;
    case RowKind::Try:
        bytes.i64(row.run).i64(row.tryNumber).i64(row.game).i64(row.deck).i64(row.blind).i64(row.guess);
        bytes.i64(row.target).i64(row.layout).i64(row.hit).i64(row.responseMs);
        break;
    case RowKind::RunEnd:
        bytes.i64(row.run).digest(row.secret);
        break;
    case RowKind::Series:
        bytes.i64(row.tryNumber).i64(row.game).i64(row.deck);
        break;
    case RowKind::SeriesEnd:
        break;
    }
    return bytes.bytes();
}

Digest firstLink(const QString &foldedAccount)
{
    return sha256(CanonicalBytes().raw(kChainTag).text(foldedAccount).bytes());
}

Digest nextLink(const Digest &previous, const ChainRow &row)
{
    return sha256(previous, canonicalBytes(row));
}

void linkRows(const QString &foldedAccount, std::vector<ChainRow> &rows)
{
    Digest previous = firstLink(foldedAccount);
    for (ChainRow &row : rows) {
        previous = nextLink(previous, row);
        row.link = previous;
    }
}

QString problemName(Problem problem)
{
    switch (problem) {
    case Problem::None:
        return QString();
    case Problem::Chain:
        return QStringLiteral("chain");
    case Problem::BeforeChain:
        return QStringLiteral("before-chain");
    case Problem::Order:
        return QStringLiteral("order");
    case Problem::Hit:
        return QStringLiteral("hit");
    case Problem::Seed:
        return QStringLiteral("seed");
    case Problem::Draw:
        return QStringLiteral("draw");
    }
    return QString();
}

VerifyReport verifyRecord(const QString &foldedAccount, const std::vector<ChainRow> &rows)
{
    return Verifier(foldedAccount, rows).run();
}

} // namespace proof
