#include "ResultsRecord.h"

#include "ResultsTexts.h"

#include "stats/Binomial.h"

#include <QStringList>

#include <algorithm>

namespace results {

namespace {

// The words the window shows for a game and a deck (the history has its own for files).
QString gameTitle(Game game)
{
    return game == Game::Plain ? resultstext::kGamePlain : resultstext::kGameFindHidden;
}

QString deckTitle(Deck deck)
{
    switch (deck) {
    case Deck::Zener:
        return resultstext::kDeckZener;
    case Deck::Colors:
        return resultstext::kDeckColor;
    case Deck::PlayingCards:
        break;
    }
    return resultstext::kDeckPlaying;
}

template <typename T> QString names(const QList<T> &items, QString (*name)(T))
{
    QStringList parts;
    for (T item : items)
        parts << name(item);
    return parts.join(QStringLiteral(", "));
}

Tally tallied(std::int64_t tries, std::int64_t hits)
{
    return {tries, hits, stats::probabilityAtLeast(tries, hits)};
}

// Where a game or deck stands in kGames or kDecks, the order its tally is kept in (the history
// reads nothing but these values).
template <typename T, std::size_t N> std::size_t indexIn(const std::array<T, N> &order, T item)
{
    return std::size_t(std::find(order.begin(), order.end(), item) - order.begin());
}

// The lowest hit count of a run of n tries that falls in the given tenth.
std::int64_t lowestHitsIn(int bin, std::int64_t n)
{
    return (bin * n + kSpreadBins - 1) / kSpreadBins;
}

} // namespace

int spreadBin(std::int64_t tries, std::int64_t hits)
{
    if (tries <= 0)
        return 0;
    return static_cast<int>(std::min<std::int64_t>(kSpreadBins - 1, hits * kSpreadBins / tries));
}

ResultsRecord::ResultsRecord(const QString &userName)
{
    m_data.userName = userName;
    finish();
}

void ResultsRecord::setTotals(std::int64_t tries, std::int64_t hits)
{
    // Kept as stored for comparing with the record; the figures take hits no more than tries.
    m_storedTries = std::max<std::int64_t>(0, tries);
    m_storedHits = std::max<std::int64_t>(0, hits);
}

void ResultsRecord::addRejected(bool hitFlag)
{
    ++m_data.invalidTries;
    m_rejectedHits += hitFlag ? 1 : 0;
}

void ResultsRecord::add(const RecordedTry &recorded)
{
    const std::int32_t before = m_data.cumulativeHits.empty() ? 0 : m_data.cumulativeHits.back();
    m_data.cumulativeHits.push_back(before + (recorded.hit ? 1 : 0));

    Tally &game = m_games[indexIn(kGames, recorded.game)];
    Tally &deck = m_decks[indexIn(kDecks, recorded.deck)];
    for (Tally *tally : {&game, &deck}) {
        ++tally->tries;
        tally->hits += recorded.hit ? 1 : 0;
    }

    auto row = m_runRow.constFind(recorded.run);
    if (row == m_runRow.cend()) {
        row = m_runRow.insert(recorded.run, m_data.runs.size());
        m_data.runs.append(RunRow{recorded.runStart, {}, {}, {0, 0, 1}});
        m_runStates.append(RunState{});
        m_runTries.emplace_back();
    }
    RunRow &run = m_data.runs[*row];
    RunState &state = m_runStates[*row];
    ++run.tally.tries;
    run.tally.hits += recorded.hit ? 1 : 0;
    if (!state.games.contains(recorded.game))
        state.games.append(recorded.game);
    if (!state.decks.contains(recorded.deck))
        state.decks.append(recorded.deck);
    state.dirty = true;
    m_runTries[std::size_t(*row)].push_back({recorded.guessPosition, recorded.targetPosition});
}

void ResultsRecord::updateEvidence()
{
    // E depends on tries and hits alone, but its peak on the path: a new block (the totals changed
    // what came before the history) starts the walk again; otherwise only the new tries are walked.
    const std::int64_t block = m_data.totals.consistent ? m_data.beforeHistoryTries : 0;
    if (block != m_evidencedBlock) {
        m_evidence = {};
        m_evidence.addBlock(block, m_data.totals.consistent ? m_data.beforeHistoryHits : 0);
        m_evidencedBlock = block;
        m_evidenced = 0;
    }
    std::int32_t before = m_evidenced == 0 ? 0 : m_data.cumulativeHits[m_evidenced - 1];
    for (; m_evidenced < m_data.cumulativeHits.size(); ++m_evidenced) {
        const std::int32_t now = m_data.cumulativeHits[m_evidenced];
        m_evidence.addTry(now > before);
        before = now;
    }
    m_data.evidence = m_evidence.current();
    m_data.log10EvidencePeak = m_evidence.log10Peak();
}

void ResultsRecord::finish()
{
    m_data.whole = stats::summarize(m_storedTries, std::min(m_storedHits, m_storedTries));
    const std::int64_t recorded = m_data.recordedTries();
    const std::int64_t recordedHits = m_data.cumulativeHits.empty() ? 0 : m_data.cumulativeHits.back();
    // The stored totals are the authority; the history began at its baseline, and every recorded row
    // (one that cannot be true included: the totals counted it) must explain the rest.
    m_data.totals = history::checkTotals(m_storedTries, m_storedHits, m_baseline,
                                         recorded + m_data.invalidTries, recordedHits + m_rejectedHits);
    m_data.beforeHistoryTries = std::max<std::int64_t>(0, m_data.totals.beforeTries);
    m_data.beforeHistoryHits = std::max<std::int64_t>(0, m_data.totals.beforeHits);

    m_data.games.clear();
    for (std::size_t g = 0; g < kGames.size(); ++g) {
        if (m_games[g].tries > 0)
            m_data.games.append({gameTitle(kGames[g]), tallied(m_games[g].tries, m_games[g].hits)});
    }
    m_data.decks.clear();
    for (std::size_t d = 0; d < kDecks.size(); ++d) {
        if (m_decks[d].tries > 0)
            m_data.decks.append({deckTitle(kDecks[d]), tallied(m_decks[d].tries, m_decks[d].hits)});
    }

    m_data.spread = {};
    for (qsizetype i = 0; i < m_data.runs.size(); ++i) {
        RunRow &run = m_data.runs[i];
        RunState &state = m_runStates[i];
        if (state.dirty) {
            run.tally = tallied(run.tally.tries, run.tally.hits);
            run.game = names(state.games, &gameTitle);
            run.decks = names(state.decks, &deckTitle);
            state.dirty = false;
        }
        ++m_data.spread.runs[spreadBin(run.tally.tries, run.tally.hits)];
        const auto &chance = chanceSpread(run.tally.tries);
        for (int b = 0; b < kSpreadBins; ++b)
            m_data.spread.chance[b] += chance[b];
    }

    updateEvidence();
    m_data.trend = stats::trendOverRuns(stats::runCounts(m_runTries));
    m_data.secondary = stats::secondaryScores(m_runTries, m_data.trend.enough ? m_data.trend.p : 1.0);
}

const std::array<double, kSpreadBins> &ResultsRecord::chanceSpread(std::int64_t n)
{
    auto found = m_chanceByLength.find(n);
    if (found != m_chanceByLength.end())
        return found->second;
    // P(lowest <= X <= highest) for each tenth, from the nearer tail so that a tenth far out in a
    // tail is not lost to the difference of two numbers close to 1.
    std::array<double, kSpreadBins> chance{};
    const double mean = double(n) * stats::kChanceOfHit;
    for (int b = 0; b < kSpreadBins; ++b) {
        const std::int64_t lowest = lowestHitsIn(b, n);
        const std::int64_t highest = b + 1 < kSpreadBins ? lowestHitsIn(b + 1, n) - 1 : n;
        if (lowest > highest)
            continue;
        if (double(lowest) > mean) {
            chance[b] = stats::probabilityAtLeast(n, lowest) -
                        (highest < n ? stats::probabilityAtLeast(n, highest + 1) : 0.0);
        } else {
            chance[b] = stats::probabilityAtMost(n, highest) -
                        (lowest > 0 ? stats::probabilityAtMost(n, lowest - 1) : 0.0);
        }
        chance[b] = std::max(0.0, chance[b]);
    }
    return m_chanceByLength.emplace(n, chance).first->second;
}

} // namespace results
