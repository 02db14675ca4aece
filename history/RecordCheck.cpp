#include "RecordCheck.h"

#include <algorithm>
#include <array>

namespace history {

namespace {

// "guess 99999 is not 1..5", "guess is not a whole number", or empty when lo <= value <= hi.
QString outside(const char *column, const std::optional<std::int64_t> &value, std::int64_t lo,
                std::int64_t hi)
{
    if (!value)
        return QStringLiteral("%1 is not a whole number").arg(QLatin1String(column));
    if (*value < lo || *value > hi)
        return QStringLiteral("%1 %2 is not %3..%4").arg(QLatin1String(column)).arg(*value).arg(lo).arg(hi);
    return {};
}

QString outsideYears(const char *column, const std::optional<std::int64_t> &timeMs)
{
    if (!timeMs)
        return QStringLiteral("%1 is not a time").arg(QLatin1String(column));
    if (*timeMs < kEarliestTimeMs || *timeMs > kLatestTimeMs)
        return QStringLiteral("%1 lies outside the years 0000 to 9999").arg(QLatin1String(column));
    return {};
}

// The faces at positions 1..5 of a packed layout (31524), each 0..9.
std::array<std::int8_t, 5> unpacked(std::int64_t packed)
{
    std::array<std::int8_t, 5> layout{};
    for (int position = 4; position >= 0; --position, packed /= 10)
        layout[size_t(position)] = std::int8_t(packed % 10);
    return layout;
}

QString whyNotADeal(const StoredTry &row)
{
    if (!row.layout || *row.layout < 12345 || *row.layout > 54321)
        return QStringLiteral("the layout is not an order of the faces 1..5");
    std::array<std::int8_t, 5> faces = unpacked(*row.layout);
    std::sort(faces.begin(), faces.end());
    if (faces != std::array<std::int8_t, 5>{1, 2, 3, 4, 5})
        return QStringLiteral("the layout is not an order of the faces 1..5");
    return {};
}

} // namespace

QString whyImpossible(const StoredTry &row)
{
    for (const QString &why :
         {outsideYears("time", row.timeMs), outside("try", row.tryNumber, 1, INT32_MAX),
          outside("game", row.game, int(Game::Plain), int(Game::FindHidden)),
          outside("deck", row.deck, int(Deck::Zener), int(Deck::PlayingCards)),
          outside("blind", row.blind, 0, 1), outside("guess", row.guess, 1, 5),
          outside("target", row.target, 1, 5), outside("hit", row.hit, 0, 1),
          row.responseEmpty ? QString() : outside("response time", row.responseMs, 0, INT64_MAX)}) {
        if (!why.isEmpty())
            return why;
    }
    bool hit = *row.guess == *row.target;
    if (Game(*row.game) == Game::FindHidden) {
        if (const QString why = whyNotADeal(row); !why.isEmpty())
            return why;
        hit = unpacked(*row.layout)[size_t(*row.guess - 1)] == *row.target;
    }
    if (hit != (*row.hit == 1))
        return QStringLiteral("the hit flag %1 disagrees with the guess and the target").arg(*row.hit);
    return {};
}

QString whyImpossibleRun(std::optional<std::int64_t> startMs, std::optional<std::int64_t> endMs,
                         std::int64_t runHits, std::int64_t lifetimeHits)
{
    if (QString why = outsideYears("its start", startMs); !why.isEmpty())
        return QStringLiteral("its run: ") + why;
    if (endMs && *endMs < *startMs)
        return QStringLiteral("its run ends before it starts");
    if (runHits > lifetimeHits)
        return QStringLiteral("its run has %1 hits, more than the account's lifetime %2")
            .arg(runHits)
            .arg(lifetimeHits);
    return {};
}

TryRecord tryRecord(const StoredTry &row, std::int64_t runId)
{
    TryRecord record;
    record.timeUtcMs = row.timeMs.value_or(0);
    record.runId = runId;
    record.tryNumber = int(std::clamp<std::int64_t>(row.tryNumber.value_or(0), INT32_MIN, INT32_MAX));
    record.game = row.game == int(Game::FindHidden) ? Game::FindHidden : Game::Plain;
    record.deck = Deck(std::clamp<std::int64_t>(row.deck.value_or(0), 0, 2));
    record.blind = row.blind.value_or(0) != 0;
    record.guess = int(std::clamp<std::int64_t>(row.guess.value_or(0), INT32_MIN, INT32_MAX));
    record.target = int(std::clamp<std::int64_t>(row.target.value_or(0), INT32_MIN, INT32_MAX));
    if (record.game == Game::FindHidden && row.layout)
        record.layout = unpacked(*row.layout);
    record.hit = row.hit.value_or(0) != 0;
    record.responseMs = row.responseEmpty ? -1 : std::max<std::int64_t>(-1, row.responseMs.value_or(-1));
    return record;
}

TotalsCheck checkTotals(std::int64_t storedTries, std::int64_t storedHits,
                        const std::optional<Baseline> &baseline, std::int64_t recordedTries,
                        std::int64_t recordedHits)
{
    TotalsCheck check;
    check.storedTries = storedTries;
    check.storedHits = storedHits;
    // Without a baseline, what the record cannot explain counts as before the history; it only
    // disagrees where the record holds more than the totals, or the rest has more hits than tries.
    const Baseline before = baseline.value_or(Baseline{std::max<std::int64_t>(0, storedTries - recordedTries),
                                                       std::max<std::int64_t>(0, storedHits - recordedHits)});
    check.beforeTries = before.tries;
    check.beforeHits = before.hits;
    check.explainedTries = before.tries + recordedTries;
    check.explainedHits = before.hits + recordedHits;
    check.triesOff = storedTries - check.explainedTries;
    check.hitsOff = storedHits - check.explainedHits;
    check.consistent = check.triesOff == 0 && check.hitsOff == 0 && before.hits <= before.tries;
    return check;
}

TotalsCheck checkTotals(const AccountHistory &account)
{
    std::int64_t recordedHits = 0;
    for (const TryRecord &record : account.tries)
        recordedHits += record.hit ? 1 : 0;
    for (const RejectedTry &rejected : account.rejected)
        recordedHits += rejected.record.hit ? 1 : 0;
    return checkTotals(account.storedTries, account.storedHits, account.baseline,
                       std::int64_t(account.tries.size() + account.rejected.size()), recordedHits);
}

} // namespace history
