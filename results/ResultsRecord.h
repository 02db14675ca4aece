#pragma once

#include "ResultsData.h"

#include "history/HistoryTypes.h"

#include <QHash>

#include <array>
#include <cstdint>
#include <map>

namespace results {

// The games and decks as the history records them.
using Game = history::Game;
using Deck = history::Deck;
inline constexpr std::array kGames{Game::Plain, Game::FindHidden};
inline constexpr std::array kDecks{Deck::Zener, Deck::Colors, Deck::PlayingCards};

// One recorded try, as much of it as the Results window shows.
struct RecordedTry
{
    std::int64_t run = 0;
    QDateTime runStart; // UTC
    Game game = Game::Plain;
    Deck deck = Deck::Zener;
    bool hit = false;
    // Positions 1..5: the one guessed and the one that held the computer's card (0 when not known).
    int guessPosition = 0;
    int targetPosition = 0;
};

// Builds a ResultsData from the stored totals and the recorded tries, one try at a time, so the
// update after a counted try costs the same with 30 tries on record as with 30 000: finish()
// recomputes only the runs that took a try since the last finish().
class ResultsRecord
{
public:
    explicit ResultsRecord(const QString &userName = {});

    void setTotals(std::int64_t tries, std::int64_t hits);
    // The totals as they stood when the history began, where the history kept them.
    void setBaseline(const std::optional<history::Baseline> &baseline) { m_baseline = baseline; }
    // A recorded row that cannot be true: counted, and left out of every figure.
    void addRejected(bool hitFlag);
    // Tries in the order they were recorded.
    void add(const RecordedTry &recorded);
    void finish();

    const ResultsData &data() const { return m_data; }
    const QString &userName() const { return m_data.userName; }

    // Says why the record could not be read (shown instead of the verdict).
    void setProblem(const QString &problem) { m_data.problem = problem; }

    // The last recorded try taken in, so the next read starts after it (for the loader).
    history::TryPosition last;

private:
    struct RunState
    {
        QList<Game> games; // in the order first played
        QList<Deck> decks;
        bool dirty = true;
    };

    const std::array<double, kSpreadBins> &chanceSpread(std::int64_t tries);
    void updateEvidence();

    ResultsData m_data;
    std::int64_t m_storedTries = 0;
    std::int64_t m_storedHits = 0;
    std::optional<history::Baseline> m_baseline;
    std::int64_t m_rejectedHits = 0; // hit flags of the rows that cannot be true
    std::array<Tally, kGames.size()> m_games{};
    std::array<Tally, kDecks.size()> m_decks{};
    QHash<std::int64_t, qsizetype> m_runRow; // run id -> index in m_data.runs
    QList<RunState> m_runStates;             // parallel to m_data.runs
    std::vector<stats::RunTries> m_runTries; // parallel to m_data.runs: guesses and targets in order
    stats::EvidenceTrack m_evidence;         // along the block and m_data.cumulativeHits[0, m_evidenced)
    std::int64_t m_evidencedBlock = -1;      // the block the track began with (-1: none yet)
    std::size_t m_evidenced = 0;
    std::map<std::int64_t, std::array<double, kSpreadBins>> m_chanceByLength;
};

// Which tenth of accuracy a run of this many hits in these tries falls in (0..9).
int spreadBin(std::int64_t tries, std::int64_t hits);

} // namespace results
