#include "TryRecorder.h"

#include "HistoryChain.h"
#include "HistorySchema.h"
#include "StoreNames.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QDateTime>

#include <algorithm>
#include <random>
#include <utility>

namespace {

qint64 newRunToken()
{
    // 63 random bits: two runs, in whatever copy of the program, never share a token.
    std::random_device entropy;
    const std::uint64_t high = entropy();
    const std::uint64_t low = entropy();
    return qint64(((high << 32) | low) >> 1);
}

qint64 packedLayout(const std::array<std::int8_t, 5> &layout)
{
    qint64 packed = 0;
    for (const std::int8_t face : layout)
        packed = packed * 10 + face;
    return packed;
}

} // namespace

TryRecorder::TryRecorder() = default;

TryRecorder::~TryRecorder()
{
    endRun();
}

std::int64_t TryRecorder::nowUtcMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

void TryRecorder::beginRun(const QString &userName, history::Game game)
{
    endRun();
    const QString fold = SettingsStore::foldName(userName);
    m_run = OpenRun{newRunToken(), userName, game, nowUtcMs(), 0, nullptr};
    m_run->seal =
        std::make_unique<proof::SealedRun>(proof::RunIdentity{fold, qint64(game), m_run->startUtcMs});
    // The run and its commitment are on record before its first draw.
    SaveSettings({history::kAccountsApplication,
                  userName,
                  {},
                  {{history::schema::kInsertRun,
                    {m_run->token, fold, userName, qint64(game), qint64(m_run->startUtcMs)}},
                   history::chain::runStart(fold, m_run->token, m_run->seal->commitment())}},
                 WhenRefused::KeepAndRetry);
}

void TryRecorder::endRun()
{
    const std::optional<OpenRun> run = std::exchange(m_run, std::nullopt);
    if (!run)
        return;
    const QString fold = SettingsStore::foldName(run->userName);
    SaveSettings({history::kAccountsApplication,
                  run->userName,
                  {},
                  {{history::schema::kInsertRunEnd, {run->token, qint64(nowUtcMs())}},
                   history::chain::runEnd(fold, run->token, run->seal->reveal())}},
                 WhenRefused::KeepAndRetry);
}

proof::DrawSource *TryRecorder::draws()
{
    return m_run ? &m_run->seal->draws() : nullptr;
}

bool TryRecorder::saveTotals(const QString &userName, int hits, int tries, const CountedTry *counted)
{
    const QList<SettingEntry> totals{{history::kHitsKey, QString::number(hits)},
                                     {history::kTriesKey, QString::number(tries)}};
    QList<AttachedStatement> record;
    if (counted && m_run) {
        const std::int64_t now = stamp();
        const qint64 game = qint64(m_run->game);
        if (m_run->recordedTries == 0) {
            // The totals before this try are where the account's history begins (kept only the
            // first time).
            record.push_back({history::schema::kInsertAccount,
                              {SettingsStore::foldName(userName), qint64(tries - 1),
                               qint64(hits - (counted->hit ? 1 : 0)), qint64(now)}});
        }
        const bool hidden = m_run->game == history::Game::FindHidden;
        record.push_back(
            {history::schema::kInsertTry,
             {m_run->token, qint64(++m_run->recordedTries), qint64(now), game, qint64(counted->deck),
              qint64(counted->blind ? 1 : 0), qint64(counted->guess), qint64(counted->target),
              hidden ? QVariant(packedLayout(counted->layout)) : QVariant(), qint64(counted->hit ? 1 : 0),
              counted->responseMs >= 0 ? QVariant(qint64(counted->responseMs)) : QVariant()}});
        record.push_back(history::chain::tryRow(SettingsStore::foldName(m_run->userName), m_run->token,
                                                m_run->recordedTries));
    }
    return SaveSettings({history::kAccountsApplication, userName, totals, record, counted != nullptr},
                        WhenRefused::KeepAndRetry);
}

std::int64_t TryRecorder::stamp()
{
    m_lastStampMs = std::max(nowUtcMs(), m_lastStampMs + 1);
    return m_lastStampMs;
}

void TryRecorder::appendSeriesRow(const QString &userName, QList<AttachedStatement> statements)
{
    SaveSettings({history::kAccountsApplication, userName, {}, std::move(statements)},
                 WhenRefused::KeepAndRetry);
}

std::int64_t TryRecorder::declareSeries(const QString &userName, int length, history::Game game,
                                        history::Deck deck)
{
    const std::int64_t declared = stamp();
    const QString fold = SettingsStore::foldName(userName);
    appendSeriesRow(userName, {{history::schema::kInsertSeries,
                                {fold, qint64(declared), qint64(length), qint64(game), qint64(deck)}},
                               history::chain::seriesRow(fold, proof::RowKind::Series, declared, length,
                                                         qint64(game), qint64(deck))});
    return declared;
}

void TryRecorder::endSeriesEarly(const QString &userName, std::int64_t declaredMs)
{
    const QString fold = SettingsStore::foldName(userName);
    const std::int64_t ended = stamp();
    appendSeriesRow(userName, {{history::schema::kEndSeriesEarly, {fold, qint64(declaredMs), qint64(ended)}},
                               history::chain::seriesRow(fold, proof::RowKind::SeriesEnd, ended, 0, 0, 0)});
}
