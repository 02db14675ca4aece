#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class RandomSource;

// "Is it rigged?" in figures anyone can rerun: robot tries of both games through the trainer's own
// face draw, deal and judging, tested against fair chance.
namespace selftest {

// A result below this rejects fairness.
constexpr double kRejectBelow = 0.001;

struct Report
{
    QString text;           // the figures, one finding a line
    bool fair = true;       // no test rejected at p < kRejectBelow
    std::vector<double> p;  // every p-value the text states, in its order
    bool cancelled = false; // stopped before the end: the text and p hold what was done by then
};

// Told how many tries of the game under way are done, now and then (about every 1 %).
using Progress = std::function<void(const QString &game, std::int64_t done, std::int64_t tries)>;

// Asked now and then (about every 4 096 tries) from the thread running the test; true stops it.
using Cancelled = std::function<bool()>;

// tries robot tries of each game; game draws the computer's cards and deals, robot makes the guesses.
// Runs on the caller's thread; progress and cancelled are called there.
Report run(std::int64_t tries, RandomSource &game, RandomSource &robot, const Progress &progress = {},
           const Cancelled &cancelled = {});

} // namespace selftest
