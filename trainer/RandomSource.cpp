#include "RandomSource.h"

#include <array>
#include <chrono>

RandomSource::RandomSource(std::uint64_t seed) : m_engine(seed) {}

RandomSource::RandomSource(std::seed_seq &seeds) : m_engine(seeds) {}

std::unique_ptr<RandomSource> RandomSource::fromTimeOfDayAndEntropy()
{
    using namespace std::chrono;
    // Time of day to the nanosecond where the clock has it; the whole system time adds the date.
    const auto sinceEpoch = system_clock::now().time_since_epoch();
    const auto ofDay = duration_cast<nanoseconds>(sinceEpoch % hours(24)).count();
    const auto steady = duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();

    std::array<std::uint32_t, 8> entropy{};
    try {
        std::random_device device;
        for (auto &word : entropy)
            word = device();
    } catch (...) {
        // No entropy source: the time alone still gives a different game every start.
    }

    const auto low = [](long long v) { return static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)); };
    const auto high = [](long long v) {
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) >> 32);
    };
    std::seed_seq seeds{low(ofDay), high(ofDay), low(steady), high(steady), entropy[0], entropy[1],
                        entropy[2], entropy[3],  entropy[4],  entropy[5],   entropy[6], entropy[7]};
    return std::make_unique<RandomSource>(seeds);
}

double RandomSource::next()
{
    // The top 53 bits scaled by 2^-53: exactly representable, at most 1 - 2^-53.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}
