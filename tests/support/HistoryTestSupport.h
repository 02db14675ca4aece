#pragma once

// Shared by the suites that read a recorded history: an account as an earlier version left it, and a
// player that records counted tries the way the trainer does.

#include "history/HistorySchema.h"
#include "history/StoreNames.h"
#include "history/TryRecorder.h"
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
};

} // namespace historytest
