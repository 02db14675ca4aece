#pragma once

// Shared by the suites that read a recorded history: an account as an earlier version left it, and a
// player that records counted tries the way the trainer does.

#include "history/HistorySchema.h"
#include "history/StoreNames.h"
#include "history/TryRecorder.h"
#include "proof/DrawStream.h"
#include "settings/Settings.h"

#include <array>
#include <cstdint>

namespace historytest {

// An account as an earlier version of the program left it: totals, no history.
inline void makeOldAccount(const QString &name, int hits, int tries)
{
    SaveSettings(history::kAccountsApplication, name,
                 {{history::kUserNameKey, name},
                  {history::kHitsKey, QString::number(hits)},
                  {history::kTriesKey, QString::number(tries)}});
}

// A recorder over a store that keeps the history's tables, as the program installs them at start.
struct InstalledRecorder : TryRecorder
{
    InstalledRecorder() { history::schema::install(); }
};

// Plays one counted try the way the trainer does: totals moved on, then saved with the try.
struct Player
{
    QString name;
    int hits = 0;
    int tries = 0;
    InstalledRecorder recorder;

    bool play(int guess, int target, history::Deck deck = history::Deck::Zener,
              std::array<std::int8_t, 5> layout = {})
    {
        TryRecorder::CountedTry counted;
        counted.deck = deck;
        counted.guess = guess;
        counted.target = target;
        counted.layout = layout;
        counted.hit = guess == target;
        counted.responseMs = 700 + tries;
        ++tries;
        hits += counted.hit ? 1 : 0;
        return recorder.saveTotals(name, hits, tries, &counted);
    }

    // One honest try of the open sealed run of game: its target or deal drawn from the run's stream,
    // as the trainer draws it.
    bool playSealed(history::Game game, int guess, history::Deck deck = history::Deck::Zener)
    {
        if (game == history::Game::Plain)
            return play(guess, proof::pickTarget(*recorder.draws()), deck);
        const proof::DealtFaces dealt = proof::dealFaces(*recorder.draws());
        std::array<std::int8_t, 5> layout{};
        for (size_t i = 0; i < 5; ++i)
            layout[i] = std::int8_t(dealt[i + 1]);
        TryRecorder::CountedTry counted;
        counted.deck = deck;
        counted.guess = guess;
        counted.target = dealt[0];
        counted.layout = layout;
        counted.hit = layout[size_t(guess - 1)] == dealt[0];
        ++tries;
        hits += counted.hit ? 1 : 0;
        return recorder.saveTotals(name, hits, tries, &counted);
    }
};

} // namespace historytest
