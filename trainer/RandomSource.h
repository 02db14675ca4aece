#pragma once

#include "DrawSource.h"

#include <cstdint>
#include <memory>
#include <random>

// The trainer window's source of chance: one 64-bit Mersenne Twister per window. The program seeds it
// once from the time of day mixed with the operating system's entropy, so targets cannot be foreseen;
// tests build it from a fixed seed so a deal can be pinned to a known result.
class RandomSource : public DrawSource
{
public:
    explicit RandomSource(std::uint64_t seed);
    explicit RandomSource(std::seed_seq &seeds);

    // A generator seeded from the time of day (with its fraction of a second) and std::random_device.
    static std::unique_ptr<RandomSource> fromTimeOfDayAndEntropy();

    // The next value r with 0 <= r < 1 (53 random bits, so r never reaches 1).
    double next() override;

private:
    std::mt19937_64 m_engine;
};
