#include "TryRecorder.h"

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
    m_run = OpenRun{newRunToken(), userName, game, nowUtcMs(), 0};
}

void TryRecorder::endRun()
{
    const std::optional<OpenRun> run = std::exchange(m_run, std::nullopt);
    // A run without a try was never written, so there is nothing to end.
    if (!run || run->recordedTries == 0)
        return;
    SaveSettings({history::kAccountsApplication,
                  run->userName,
                  {},
                  {{history::schema::kInsertRunEnd, {run->token, qint64(nowUtcMs())}}}},
                 WhenRefused::KeepAndRetry);
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
            // first time); then the run itself.
            record.push_back({history::schema::kInsertAccount,
                              {SettingsStore::foldName(userName), qint64(tries - 1),
                               qint64(hits - (counted->hit ? 1 : 0)), qint64(now)}});
            record.push_back({history::schema::kInsertRun,
                              {m_run->token, SettingsStore::foldName(m_run->userName), m_run->userName, game,
                               qint64(m_run->startUtcMs)}});
        }
        const bool hidden = m_run->game == history::Game::FindHidden;
        record.push_back(
            {history::schema::kInsertTry,
             {m_run->token, qint64(++m_run->recordedTries), qint64(now), game, qint64(counted->deck),
              qint64(counted->blind ? 1 : 0), qint64(counted->guess), qint64(counted->target),
              hidden ? QVariant(packedLayout(counted->layout)) : QVariant(), qint64(counted->hit ? 1 : 0),
              counted->responseMs >= 0 ? QVariant(qint64(counted->responseMs)) : QVariant()}});
    }
    return SaveSettings({history::kAccountsApplication, userName, totals, record, counted != nullptr},
                        WhenRefused::KeepAndRetry);
}

std::int64_t TryRecorder::stamp()
{
    m_lastStampMs = std::max(nowUtcMs(), m_lastStampMs + 1);
    return m_lastStampMs;
}

void TryRecorder::appendSeriesRow(const QString &userName, const char *statement, QVariantList values)
{
    SaveSettings({history::kAccountsApplication, userName, {}, {{statement, std::move(values)}}},
                 WhenRefused::KeepAndRetry);
}

std::int64_t TryRecorder::declareSeries(const QString &userName, int length, history::Game game,
                                        history::Deck deck)
{
    const std::int64_t declared = stamp();
    appendSeriesRow(
        userName, history::schema::kInsertSeries,
        {SettingsStore::foldName(userName), qint64(declared), qint64(length), qint64(game), qint64(deck)});
    return declared;
}

void TryRecorder::endSeriesEarly(const QString &userName, std::int64_t declaredMs)
{
    appendSeriesRow(userName, history::schema::kEndSeriesEarly,
                    {SettingsStore::foldName(userName), qint64(declaredMs), qint64(stamp())});
}
