#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The try history as plain values: what the trainer hands in for each counted try, and what readers
// get back. Times are UTC milliseconds since 1970.
namespace history {

enum class Game
{
    Plain = 1,      // guess the computer's card among five
    FindHidden = 2, // find, among five covers, the card matching the one shown
};

// The deck on the table, in the order the options panel lists them.
enum class Deck
{
    Zener = 0,
    Colors = 1,
    PlayingCards = 2,
};

// "plain" / "find-hidden"; "zener" / "colors" / "playing-cards": the words the command line and the
// CSV file use.
QString gameName(Game game);
QString deckName(Deck deck);

// One counted try of a test run.
struct TryRecord
{
    std::int64_t timeUtcMs = 0;
    std::int64_t runId = 0;
    int tryNumber = 0; // 1.. within its run
    Game game = Game::Plain;
    Deck deck = Deck::Zener;
    bool blind = false; // Play Blind was ticked
    int guess = 0;      // position 1..5 clicked (plain) or cover 1..5 turned (find-hidden)
    int target = 0;     // the computer's card, face 1..5
    // Find-hidden only: the faces (1..5) dealt to positions 1..5; all 0 in the plain game.
    std::array<std::int8_t, 5> layout{};
    bool hit = false;
    // From the moment the table was ready for this guess to the click; -1 when not known.
    std::int64_t responseMs = -1;
};

// Where a try lies in an account's history: its run, then its number in the run. Tries are read in
// this order; {0, 0} lies before every try.
struct TryPosition
{
    std::int64_t runId = 0;
    int tryNumber = 0;

    friend auto operator<=>(const TryPosition &, const TryPosition &) = default;
};

// One test run: from Test to Stop, another Test or Practice, a login of another user, or closing.
struct RunRecord
{
    std::int64_t id = 0;
    std::int64_t startUtcMs = 0;
    // When the run ended; the time of its last try when the program stopped without ending it.
    std::int64_t endUtcMs = 0;
    Game game = Game::Plain;
    QString userName;        // the name as typed at the login that ran it
    std::vector<Deck> decks; // every deck its tries were played with, in the order first used
    int tries = 0;
    int hits = 0;
};

// Tries and hits of the part of a history that shares one game or one deck.
struct Split
{
    int key = 0; // int(Game) or int(Deck)
    int tries = 0;
    int hits = 0;
};

// A recorded row that cannot be true (edited by hand, or damaged): kept for the CSV, left out of every
// figure. The record holds what could be read of it.
struct RejectedTry
{
    TryRecord record;
    QString why; // in words: "guess 99999 is not 1..5"
};

// The totals as they stood when the history began, as the history kept them.
struct Baseline
{
    std::int64_t tries = 0;
    std::int64_t hits = 0;
};

// Everything on record for one account. The stored totals stay the authority; the history explains
// them, and what it cannot explain is "before the history began".
struct AccountHistory
{
    QString userName;    // as created
    int storedTries = 0; // the totals the trainer shows, 0..32767
    int storedHits = 0;
    int beforeHistoryTries = 0; // the baseline, or stored minus recorded where it is missing
    int beforeHistoryHits = 0;
    std::optional<Baseline> baseline;  // missing in a file from before the history or that lost it
    std::vector<TryRecord> tries;      // the rows that can be true, by run, then try number
    std::vector<RunRecord> runs;       // in the order they started, those with tries that can be true
    std::vector<RejectedTry> rejected; // the rows that cannot be true, in record order
};

// Splits of the recorded tries, by key in ascending order; keys without tries are left out.
std::vector<Split> splitByGame(const std::vector<TryRecord> &tries);
std::vector<Split> splitByDeck(const std::vector<TryRecord> &tries);

} // namespace history
