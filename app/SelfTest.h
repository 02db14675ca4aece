#pragma once

#include <QString>

#include <cstdint>

class RandomSource;

// "Is it rigged?" in figures anyone can rerun: robot tries of both games through the trainer's own
// face draw, deal and judging, tested against fair chance.
namespace selftest {

// A result below this rejects fairness.
constexpr double kRejectBelow = 0.001;

struct Report
{
    QString text;     // the figures, one finding a line
    bool fair = true; // no test rejected at p < kRejectBelow
};

// tries robot tries of each game; game draws the computer's cards and deals, robot makes the guesses.
Report run(std::int64_t tries, RandomSource &game, RandomSource &robot);

} // namespace selftest
